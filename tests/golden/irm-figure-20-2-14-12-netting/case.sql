-- IRM 20.2.14, Figure 20.2.14-12 (Stetson Corporation). The 2005 return: 9,200.00 overpaid from 03/15/2006,
-- refunded with interest to 08/09/2008 (10,737.99).
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Stetson 2005',#3/15/2006#,#12/21/2008#,-9200,1,'STETSON');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(1,'Refund',#8/18/2008#,#8/9/2008#,9200);
-- The 2006 return: 27,000.00 owed from 03/15/2007, interest to 12/21/2008 (the waiver date plus 30 days).
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Stetson 2006',#3/15/2007#,#12/21/2008#,27000,1,'STETSON');
