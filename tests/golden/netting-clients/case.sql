-- A client of three returns. 2010 owes 50,000.00 from 03/15/2011, unpaid to 12/31/2013.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Three Returns 2010',#3/15/2011#,#12/31/2013#,50000,1,'THREE');
-- 2011 overpaid 20,000.00 from 03/15/2012, refunded 07/09/2013 with interest to 06/30/2013.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Three Returns 2011',#3/15/2012#,#12/31/2013#,-20000,1,'THREE');
INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of Refund])
    VALUES(2,'Refund',#7/9/2013#,#6/30/2013#,20000);
-- 2012 overpaid 40,000.00 from 03/15/2013, not refunded by 12/31/2013.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Three Returns 2012',#3/15/2013#,#12/31/2013#,-40000,1,' THREE ');
-- A client whose returns never overlap: 2015 owed and paid before 2017 overpaid.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Apart 2015',#3/15/2016#,#12/31/2016#,8000,1,'APART');
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(4,'Payment',#6/1/2016#,8000,8000);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('Apart 2017',#3/15/2018#,#12/31/2018#,-5000,1,'APART');
-- Individuals: from 1999 an individual's two rates are the same, so an overlap nets to nothing.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('O''Brien 2019',#4/15/2020#,#12/31/2021#,3000,0,'O''BRIEN');
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Client Code]) VALUES('O''Brien 2020',#4/15/2021#,#12/31/2021#,-2000,0,'O''BRIEN');
