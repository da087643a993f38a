-- One taxpayer whose reports are exported onto the program's own files.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Exporter',#4/15/2005#,#12/31/2005#,10000);
