-- Two returns due 4/15/2005 with 800.00 due, the failure-to-file penalty on: one filed 61 days late, one 60.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Sixty-one days',#4/15/2005#,#4/15/2005#,#6/15/2005#,#7/10/2005#,800,1);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Sixty days',#4/15/2005#,#4/15/2005#,#6/14/2005#,#7/10/2005#,800,1);
