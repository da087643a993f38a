PRAGMA foreign_keys=OFF;
BEGIN TRANSACTION;
CREATE TABLE [Basic Taxpayer Data] (
    [Taxpayer Number] INTEGER PRIMARY KEY AUTOINCREMENT,
    [Taxpayer Name] TEXT CHECK ([Taxpayer Name] IS NULL OR (typeof([Taxpayer Name]) = 'text' AND length([Taxpayer Name]) <= 150)),
    [Start Date] TEXT CHECK ([Start Date] IS NULL OR (typeof([Start Date]) = 'text' AND date(julianday([Start Date])) IS [Start Date])),
    [End Date] TEXT CHECK ([End Date] IS NULL OR (typeof([End Date]) = 'text' AND date(julianday([End Date])) IS [End Date])),
    [Original Due Date Of Return] TEXT CHECK ([Original Due Date Of Return] IS NULL OR (typeof([Original Due Date Of Return]) = 'text' AND date(julianday([Original Due Date Of Return])) IS [Original Due Date Of Return])),
    [Extended Due Date Of Return] TEXT CHECK ([Extended Due Date Of Return] IS NULL OR (typeof([Extended Due Date Of Return]) = 'text' AND date(julianday([Extended Due Date Of Return])) IS [Extended Due Date Of Return])),
    [Date Return Filed] TEXT CHECK ([Date Return Filed] IS NULL OR (typeof([Date Return Filed]) = 'text' AND date(julianday([Date Return Filed])) IS [Date Return Filed])),
    [Initial Balance] REAL CHECK ([Initial Balance] IS NULL OR typeof([Initial Balance]) = 'real'),
    [Calculate Failure To File Penalty] INTEGER DEFAULT 0 CHECK ([Calculate Failure To File Penalty] IS NULL OR [Calculate Failure To File Penalty] IN (0, 1)),
    [Calculate Failure To Pay Penalty] INTEGER DEFAULT 0 CHECK ([Calculate Failure To Pay Penalty] IS NULL OR [Calculate Failure To Pay Penalty] IN (0, 1)),
    [Assessment Date For Failure To Pay Penalty] TEXT CHECK ([Assessment Date For Failure To Pay Penalty] IS NULL OR (typeof([Assessment Date For Failure To Pay Penalty]) = 'text' AND date(julianday([Assessment Date For Failure To Pay Penalty])) IS [Assessment Date For Failure To Pay Penalty])),
    [Calculate Increased Failure To Pay Penalty] INTEGER DEFAULT 0 CHECK ([Calculate Increased Failure To Pay Penalty] IS NULL OR [Calculate Increased Failure To Pay Penalty] IN (0, 1)),
    [Date To Begin Increased Failure To Pay Penalty] TEXT CHECK ([Date To Begin Increased Failure To Pay Penalty] IS NULL OR (typeof([Date To Begin Increased Failure To Pay Penalty]) = 'text' AND date(julianday([Date To Begin Increased Failure To Pay Penalty])) IS [Date To Begin Increased Failure To Pay Penalty])),
    [Calculate Decreased Failure To Pay Penalty] INTEGER DEFAULT 0 CHECK ([Calculate Decreased Failure To Pay Penalty] IS NULL OR [Calculate Decreased Failure To Pay Penalty] IN (0, 1)),
    [Date To Begin Decreased Failure To Pay Penalty] TEXT CHECK ([Date To Begin Decreased Failure To Pay Penalty] IS NULL OR (typeof([Date To Begin Decreased Failure To Pay Penalty]) = 'text' AND date(julianday([Date To Begin Decreased Failure To Pay Penalty])) IS [Date To Begin Decreased Failure To Pay Penalty])),
    [Calculate Accuracy Related Penalty] INTEGER DEFAULT 0 CHECK ([Calculate Accuracy Related Penalty] IS NULL OR [Calculate Accuracy Related Penalty] IN (0, 1)),
    [Accuracy Related Underpayment] REAL CHECK ([Accuracy Related Underpayment] IS NULL OR typeof([Accuracy Related Underpayment]) = 'real'),
    [Payroll Tax Situation] INTEGER DEFAULT 0 CHECK ([Payroll Tax Situation] IS NULL OR [Payroll Tax Situation] IN (0, 1)),
    [Corporate Taxpayer] INTEGER DEFAULT 0 CHECK ([Corporate Taxpayer] IS NULL OR [Corporate Taxpayer] IN (0, 1))
);
INSERT INTO "Basic Taxpayer Data" VALUES(9001,'Sample - 2004 Form 1040 filed late',NULL,'2006-06-30','2005-04-15','2005-08-15','2005-10-20',10000.0,1,1,'2005-12-01',1,'2006-03-01',0,NULL,1,2000.0,0,0);
CREATE TABLE [Payment Table] (
    [Row] INTEGER PRIMARY KEY AUTOINCREMENT,
    [Taxpayer Number] INTEGER CHECK ([Taxpayer Number] IS NULL OR (typeof([Taxpayer Number]) = 'integer' AND [Taxpayer Number] BETWEEN -2147483648 AND 2147483647)),
    [Taxpayer Name] TEXT CHECK ([Taxpayer Name] IS NULL OR (typeof([Taxpayer Name]) = 'text' AND length([Taxpayer Name]) <= 150)),
    [Event] TEXT CHECK ([Event] IS NULL OR (typeof([Event]) = 'text' AND length([Event]) <= 50)),
    [Date Of Payment] TEXT CHECK ([Date Of Payment] IS NULL OR (typeof([Date Of Payment]) = 'text' AND date(julianday([Date Of Payment])) IS [Date Of Payment])),
    [Amount Of Payment] REAL CHECK ([Amount Of Payment] IS NULL OR typeof([Amount Of Payment]) = 'real'),
    [Use IRS Allocation] INTEGER DEFAULT 0 CHECK ([Use IRS Allocation] IS NULL OR [Use IRS Allocation] IN (0, 1)),
    [Payment Allocated To Tax] REAL CHECK ([Payment Allocated To Tax] IS NULL OR typeof([Payment Allocated To Tax]) = 'real'),
    [Payment Allocated To Penalties] REAL CHECK ([Payment Allocated To Penalties] IS NULL OR typeof([Payment Allocated To Penalties]) = 'real'),
    [Payment Allocated To Interest] REAL CHECK ([Payment Allocated To Interest] IS NULL OR typeof([Payment Allocated To Interest]) = 'real'),
    [Allocated To Liability] REAL CHECK ([Allocated To Liability] IS NULL OR typeof([Allocated To Liability]) = 'real'),
    [Due Date Of Liability] TEXT CHECK ([Due Date Of Liability] IS NULL OR (typeof([Due Date Of Liability]) = 'text' AND date(julianday([Due Date Of Liability])) IS [Due Date Of Liability]))
);
INSERT INTO "Payment Table" VALUES(1,9001,'Sample - 2004 Form 1040 filed late','Payment','2005-07-10',1000.0,0,600.0,300.0,100.0,NULL,NULL);
INSERT INTO "Payment Table" VALUES(2,9001,'Sample - 2004 Form 1040 filed late','Payment','2006-01-17',2000.0,0,1500.0,300.0,200.0,NULL,NULL);
CREATE TABLE [Required Payroll Tax Deposits] (
    [Row] INTEGER PRIMARY KEY AUTOINCREMENT,
    [Taxpayer Number] INTEGER CHECK ([Taxpayer Number] IS NULL OR (typeof([Taxpayer Number]) = 'integer' AND [Taxpayer Number] BETWEEN -2147483648 AND 2147483647)),
    [Taxpayer Name] TEXT CHECK ([Taxpayer Name] IS NULL OR (typeof([Taxpayer Name]) = 'text' AND length([Taxpayer Name]) <= 150)),
    [Event] TEXT CHECK ([Event] IS NULL OR (typeof([Event]) = 'text' AND length([Event]) <= 50)),
    [Deposit Due Date] TEXT CHECK ([Deposit Due Date] IS NULL OR (typeof([Deposit Due Date]) = 'text' AND date(julianday([Deposit Due Date])) IS [Deposit Due Date])),
    [Assessment Date] TEXT CHECK ([Assessment Date] IS NULL OR (typeof([Assessment Date]) = 'text' AND date(julianday([Assessment Date])) IS [Assessment Date])),
    [Required Deposit] REAL CHECK ([Required Deposit] IS NULL OR typeof([Required Deposit]) = 'real'),
    [Sec 6656(b)(1)(B)] INTEGER DEFAULT 0 CHECK ([Sec 6656(b)(1)(B)] IS NULL OR [Sec 6656(b)(1)(B)] IN (0, 1))
);
CREATE TABLE [Additional Charges] (
    [Row] INTEGER PRIMARY KEY AUTOINCREMENT,
    [Taxpayer Number] INTEGER CHECK ([Taxpayer Number] IS NULL OR (typeof([Taxpayer Number]) = 'integer' AND [Taxpayer Number] BETWEEN -2147483648 AND 2147483647)),
    [Taxpayer Name] TEXT CHECK ([Taxpayer Name] IS NULL OR (typeof([Taxpayer Name]) = 'text' AND length([Taxpayer Name]) <= 150)),
    [Event] TEXT CHECK ([Event] IS NULL OR (typeof([Event]) = 'text' AND length([Event]) <= 50)),
    [Description] TEXT CHECK ([Description] IS NULL OR (typeof([Description]) = 'text' AND length([Description]) <= 150)),
    [Date Liability Incurred] TEXT CHECK ([Date Liability Incurred] IS NULL OR (typeof([Date Liability Incurred]) = 'text' AND date(julianday([Date Liability Incurred])) IS [Date Liability Incurred])),
    [Date Interest Starts] TEXT CHECK ([Date Interest Starts] IS NULL OR (typeof([Date Interest Starts]) = 'text' AND date(julianday([Date Interest Starts])) IS [Date Interest Starts])),
    [Total Amount of Charge] REAL CHECK ([Total Amount of Charge] IS NULL OR typeof([Total Amount of Charge]) = 'real'),
    [Charge Classified As Tax] REAL CHECK ([Charge Classified As Tax] IS NULL OR typeof([Charge Classified As Tax]) = 'real'),
    [Charge Classified As Penalty] REAL CHECK ([Charge Classified As Penalty] IS NULL OR typeof([Charge Classified As Penalty]) = 'real'),
    [Charge Unclassified] REAL CHECK ([Charge Unclassified] IS NULL OR typeof([Charge Unclassified]) = 'real')
);
INSERT INTO "Additional Charges" VALUES(1,9001,'Sample - 2004 Form 1040 filed late','Other Charge','Notice of additional tax','2005-08-20','2005-09-01',575.0,500.0,50.0,25.0);
CREATE TABLE [Interest Table] (
    [Beginning Date] TEXT CHECK ([Beginning Date] IS NULL OR (typeof([Beginning Date]) = 'text' AND date(julianday([Beginning Date])) IS [Beginning Date])),
    [Ending Date] TEXT CHECK ([Ending Date] IS NULL OR (typeof([Ending Date]) = 'text' AND date(julianday([Ending Date])) IS [Ending Date])),
    [Interest Rate] REAL CHECK ([Interest Rate] IS NULL OR typeof([Interest Rate]) = 'real')
);
CREATE TABLE [Overpayment Interest Table] (
    [Beginning Date] TEXT CHECK ([Beginning Date] IS NULL OR (typeof([Beginning Date]) = 'text' AND date(julianday([Beginning Date])) IS [Beginning Date])),
    [Ending Date] TEXT CHECK ([Ending Date] IS NULL OR (typeof([Ending Date]) = 'text' AND date(julianday([Ending Date])) IS [Ending Date])),
    [Interest Rate] REAL CHECK ([Interest Rate] IS NULL OR typeof([Interest Rate]) = 'real')
);
CREATE TABLE [Event Table] (
    [Date] TEXT CHECK ([Date] IS NULL OR (typeof([Date]) = 'text' AND date(julianday([Date])) IS [Date])),
    [Date2] TEXT CHECK ([Date2] IS NULL OR (typeof([Date2]) = 'text' AND date(julianday([Date2])) IS [Date2])),
    [Event] TEXT CHECK ([Event] IS NULL OR (typeof([Event]) = 'text' AND length([Event]) <= 30)),
    [Unpaid Balance] REAL CHECK ([Unpaid Balance] IS NULL OR typeof([Unpaid Balance]) = 'real'),
    [Accrued Interest] REAL CHECK ([Accrued Interest] IS NULL OR typeof([Accrued Interest]) = 'real'),
    [Interest Rate] REAL CHECK ([Interest Rate] IS NULL OR typeof([Interest Rate]) = 'real'),
    [Days] INTEGER CHECK ([Days] IS NULL OR typeof([Days]) = 'integer'),
    [Interest Factor] REAL CHECK ([Interest Factor] IS NULL OR typeof([Interest Factor]) = 'real'),
    [Interest] REAL CHECK ([Interest] IS NULL OR typeof([Interest]) = 'real'),
    [Failure To File Penalty] REAL CHECK ([Failure To File Penalty] IS NULL OR typeof([Failure To File Penalty]) = 'real'),
    [Failure To Pay Penalty] REAL CHECK ([Failure To Pay Penalty] IS NULL OR typeof([Failure To Pay Penalty]) = 'real'),
    [Tax] REAL CHECK ([Tax] IS NULL OR typeof([Tax]) = 'real'),
    [Required Deposit Number] INTEGER CHECK ([Required Deposit Number] IS NULL OR typeof([Required Deposit Number]) = 'integer'),
    [Required Deposit] REAL CHECK ([Required Deposit] IS NULL OR typeof([Required Deposit]) = 'real'),
    [Amount Of Payment] REAL CHECK ([Amount Of Payment] IS NULL OR typeof([Amount Of Payment]) = 'real'),
    [Days Overdue] INTEGER CHECK ([Days Overdue] IS NULL OR typeof([Days Overdue]) = 'integer'),
    [Penalty Percentage] REAL CHECK ([Penalty Percentage] IS NULL OR typeof([Penalty Percentage]) = 'real'),
    [Penalty] REAL CHECK ([Penalty] IS NULL OR typeof([Penalty]) = 'real'),
    [Due Date Of Liability] TEXT CHECK ([Due Date Of Liability] IS NULL OR (typeof([Due Date Of Liability]) = 'text' AND date(julianday([Due Date Of Liability])) IS [Due Date Of Liability]))
);
CREATE TABLE [Summary Table] (
    [TotalInterest] REAL CHECK ([TotalInterest] IS NULL OR typeof([TotalInterest]) = 'real'),
    [FailureToPayPenalty] REAL CHECK ([FailureToPayPenalty] IS NULL OR typeof([FailureToPayPenalty]) = 'real'),
    [FailureToFilePenalty] REAL CHECK ([FailureToFilePenalty] IS NULL OR typeof([FailureToFilePenalty]) = 'real'),
    [TotalAccPenalty] REAL CHECK ([TotalAccPenalty] IS NULL OR typeof([TotalAccPenalty]) = 'real'),
    [UnpaidTax] REAL CHECK ([UnpaidTax] IS NULL OR typeof([UnpaidTax]) = 'real'),
    [PmntsAppToInterest] REAL CHECK ([PmntsAppToInterest] IS NULL OR typeof([PmntsAppToInterest]) = 'real'),
    [PmntsAppToPenalty] REAL CHECK ([PmntsAppToPenalty] IS NULL OR typeof([PmntsAppToPenalty]) = 'real'),
    [OtherPenalties] REAL CHECK ([OtherPenalties] IS NULL OR typeof([OtherPenalties]) = 'real'),
    [TotalFDepositPenalty] REAL CHECK ([TotalFDepositPenalty] IS NULL OR typeof([TotalFDepositPenalty]) = 'real'),
    [Total] REAL CHECK ([Total] IS NULL OR typeof([Total]) = 'real'),
    [Beginning Date] TEXT CHECK ([Beginning Date] IS NULL OR (typeof([Beginning Date]) = 'text' AND date(julianday([Beginning Date])) IS [Beginning Date])),
    [Ending Date] TEXT CHECK ([Ending Date] IS NULL OR (typeof([Ending Date]) = 'text' AND date(julianday([Ending Date])) IS [Ending Date]))
);
DELETE FROM sqlite_sequence;
INSERT INTO sqlite_sequence VALUES('Basic Taxpayer Data',9001);
INSERT INTO sqlite_sequence VALUES('Payment Table',2);
INSERT INTO sqlite_sequence VALUES('Required Payroll Tax Deposits',0);
INSERT INTO sqlite_sequence VALUES('Additional Charges',1);
CREATE INDEX [Payments By Taxpayer] ON [Payment Table]([Taxpayer Number], [Date Of Payment]);
CREATE INDEX [Deposits By Taxpayer] ON [Required Payroll Tax Deposits]([Taxpayer Number], [Deposit Due Date]);
CREATE INDEX [Charges By Taxpayer] ON [Additional Charges]([Taxpayer Number], [Date Interest Starts]);
COMMIT;
PRAGMA user_version = 1;
PRAGMA application_id = 1414941778;
