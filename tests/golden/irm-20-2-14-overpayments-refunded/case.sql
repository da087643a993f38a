-- IRM 20.2.14, Exhibit 20.2.14-7 (Orleans): a corporation's overpayment of 100,000.00 for 2004, from 03/15/2005,
-- refunded with its interest to 08/29/2008.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Orleans 2004',#3/15/2005#,#8/29/2008#,-100000,1,'ORLEANS');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(1,'Refund',#8/29/2008#,#8/29/2008#,100000);
-- IRM 20.2.14, Exhibit 20.2.14-9 (Athens): 79,000.00 overpaid for 2007, from 03/15/2008, interest to 03/23/2009.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Athens 2007',#3/15/2008#,#3/23/2009#,-79000,1,'ATHENS');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(2,'Refund',#3/23/2009#,#3/23/2009#,79000);
-- IRM 20.2.14, Figure 20.2.14-12 (Stetson): 9,200.00 overpaid for 2005, from 03/15/2006, refunded with interest
-- to 08/09/2008 (10,737.99 in all). Under $10,000: no part earns the lower rate.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Stetson 2005',#3/15/2006#,#12/31/2008#,-9200,1,'STETSON');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(3,'Refund',#8/18/2008#,#8/9/2008#,9200);
-- An overpayment across 01/01/1995: the part above $10,000 earns the lower rate only for the days after
-- 12/31/1994.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Across 1995',#9/15/1994#,#6/30/1995#,-50000,1);
