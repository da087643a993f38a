-- A corporation with 500,000.00 unpaid from its due date 3/15/2019, the applicable date of the large corporate rate
-- 8/1/2019 (the higher rate from 8/2/2019).
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Large Corp',#3/15/2019#,#12/31/2019#,500000,1,1,#8/1/2019#);
-- The same corporation with a payment of 600,000.00 on 10/1/2019: from then on it is owed overpayment interest, at
-- the overpayment rate, while the days before keep the large corporate rate.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Large Corp Overpaid',#3/15/2019#,#12/31/2019#,500000,1,1,#8/1/2019#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(2,'Payment',#10/1/2019#,600000,600000);
-- The box checked without the date: the run stops with a message.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment])
    VALUES('No Date Corp',#3/15/2019#,#12/31/2019#,500000,1,1);
