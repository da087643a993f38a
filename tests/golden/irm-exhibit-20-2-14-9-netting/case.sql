-- IRM 20.2.14, Exhibit 20.2.14-9 (Athens), a request on a liability assessed and paid. The 2004 return: 150,000.00
-- owed from 03/15/2005, at the large corporate rate after 04/09/2007, paid in full (204,361.17) on 02/20/2009;
-- interest to 09/01/2009.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins],[Client Code])
    VALUES('Athens 2004',#3/15/2005#,#9/1/2009#,150000,1,1,#4/9/2007#,'ATHENS');
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax],[Payment Allocated To Interest]) VALUES(1,'Payment',#2/20/2009#,204361.17,150000,54361.17);
-- The 2007 return: 79,000.00 overpaid from 03/15/2008, refunded by hand with interest to 03/23/2009.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Athens 2007',#3/15/2008#,#3/23/2009#,-79000,1,'ATHENS');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(2,'Refund',#3/23/2009#,#3/23/2009#,79000);
