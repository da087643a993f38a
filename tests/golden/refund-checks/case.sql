-- Refunds the run refuses, each with a message that names it: larger than the overpayment owed on its interest-to
-- date; interest allowed to a day after the refund was made; an interest-to date before the due date.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Too Large',#4/15/2020#,#12/31/2021#,-1000,0);
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(1,'Refund',#6/10/2021#,#6/1/2021#,1500);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Interest After',#4/15/2020#,#12/31/2021#,-1000,0);
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(2,'Refund',#6/1/2021#,#6/10/2021#,1000);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Before Due',#4/15/2020#,#12/31/2021#,-1000,0);
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(3,'Refund',#4/20/2020#,#4/1/2020#,1000);
-- A refund of part of the overpayment: the interest allowed goes with it in proportion; the rest earns on.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Part Refunded',#4/15/2020#,#12/31/2021#,-1000,0);
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(4,'Refund',#6/10/2021#,#6/1/2021#,400);
