-- U owes 100,000.00 from 03/15/2000 to 12/31/2010; O overpaid 500,000.00 over the same days, always covering U.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('U',#3/15/2000#,#12/31/2010#,100000,1,'ONE');
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('O',#3/15/2000#,#12/31/2010#,-500000,1,'ONE');
-- The same two returns, with a payment of 1.00 on O each year: dates that cut the days and nothing else.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('U',#3/15/2000#,#12/31/2010#,100000,1,'CUTS');
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('O',#3/15/2000#,#12/31/2010#,-500000,1,'CUTS');
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2001#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2002#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2003#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2004#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2005#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2006#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2007#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2008#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2009#,1,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2010#,1,1);
