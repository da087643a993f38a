-- A corporation's case of the size the IRS's manual works through: a balance of 4,298,405.31, which single
-- precision carried as 4,298,406.00, a payment of 266,819.67 (carried as 266,819.70), and penalties on them.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty],[Corporate Taxpayer])
    VALUES('Large Case Co',#3/15/2021#,#9/15/2021#,#10/20/2021#,#6/30/2022#,4298405.31,1,1,#11/1/2021#,1);
INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest])
    VALUES(1,'Large Case Co','Payment',#12/15/2021#,266819.67,266819.67,0,0);
