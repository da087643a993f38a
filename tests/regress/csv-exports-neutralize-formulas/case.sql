-- Names from a client's file that a spreadsheet would run as formulas, and one with a bare carriage return.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('=HYPERLINK("http://example.invalid","x")',#4/15/2005#,#12/31/2005#,100);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('+1+2',#4/15/2005#,#12/31/2005#,100);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('-2+3',#4/15/2005#,#12/31/2005#,100);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('@SUM(A1:A9)',#4/15/2005#,#12/31/2005#,100);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Carriage' || char(13) || 'Return, Inc.',#4/15/2005#,#12/31/2005#,100);
INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(3,'-2+3','Payment',#6/1/2005#,-50,-50);
