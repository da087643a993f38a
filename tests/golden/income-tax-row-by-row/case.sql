-- An income-tax return filed late: accuracy-related, failure-to-pay and failure-to-file penalties, a payment split
-- three ways, an additional charge, and a rate change from 6 % to 7 % on 10/1/2005.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty],
    [Calculate Accuracy Related Penalty],[Accuracy Related Underpayment])
    VALUES('O''Neil Ltd',#4/15/2005#,#8/15/2005#,#10/20/2005#,#12/31/2005#,10000,1,1,#12/31/2005#,1,2000);
INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest])
    VALUES(1,'O''Neil Ltd','Payment',#7/10/2005#,1000,600,300,100);
INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name],[Event],[Description],[Date Liability Incurred],
    [Date Interest Starts],[Total Amount of Charge],[Charge Classified As Tax],[Charge Classified As Penalty],
    [Charge Unclassified])
    VALUES(1,'O''Neil Ltd','Other Charge','Notice',#8/20/2005#,#9/1/2005#,575,500,50,25);
