-- IRM 20.2.14, Figure 20.2.14-13 (Henry Corporation). The 2006 return: 53,000.00 owed from 03/15/2007, paid in full
-- with its interest on 08/03/2008.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Henry 2006',#3/15/2007#,#8/3/2008#,53000,1,'HENRY');
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax],[Payment Allocated To Interest]) VALUES(1,'Payment',#8/3/2008#,58617.29,53000,5617.29);
-- The 2007 return: 32,000.00 overpaid from 03/15/2008, its refund being computed with interest to 08/30/2008 (the
-- refund date 09/08/2008 less nine days): not refunded yet when the netting is asked for.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Henry 2007',#3/15/2008#,#8/30/2008#,-32000,1,'HENRY');
