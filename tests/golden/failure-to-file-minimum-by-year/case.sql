-- The failure-to-file minimum of the year in which the return was required to be filed (by its extended due date):
-- the lesser of that year's amount and the net amount due, for a return filed more than 60 days late.
-- 1: due 4/15/2024 with 50.00 due, filed 7/15/2024 (91 days): the minimum is the 50.00 due.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Fifty due',#4/15/2024#,#4/15/2024#,#7/15/2024#,#7/15/2024#,50,1);
-- 2: the same with 1,000.00 due and the failure-to-pay penalty on: 485.00, the amount for 2024.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty])
    VALUES('Thousand due',#4/15/2024#,#4/15/2024#,#7/15/2024#,#7/15/2024#,1000,1,1,#7/15/2024#);
-- 3: due 4/15/2005 with 300.00 due, filed 6/25/2005 (71 days): 100.00, the amount of 2005.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Due in 2005',#4/15/2005#,#4/15/2005#,#6/25/2005#,#6/25/2005#,300,1);
-- 4: due 4/15/2024 with 1,000.00 due, filed 6/14/2024 (60 days): no minimum, two months at 5 %.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Sixty days',#4/15/2024#,#4/15/2024#,#6/14/2024#,#6/14/2024#,1000,1);
-- 5: due 11/15/2024, extended to 5/15/2025, 2,000.00 due, filed 8/1/2025 (78 days after the extended date): the
-- year is that of the extended due date, 2025, whose amount is 510.00; five months (the most) at 5 % come to 500.00.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty])
    VALUES('Extended into 2025',#11/15/2024#,#5/15/2025#,#8/1/2025#,#8/1/2025#,2000,1);
