-- A corporation that paid 3,000.00 against 1,000.00 due: from the payment on, it earns overpayment interest, at the
-- table's rate less one point from 1999 on.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Overpaid Corp',#4/15/1999#,#12/31/1999#,1000,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(1,'Payment',#5/1/1999#,3000,3000);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Overpaid Person',#4/15/1999#,#12/31/1999#,1000,0);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(2,'Payment',#5/1/1999#,3000,3000);
