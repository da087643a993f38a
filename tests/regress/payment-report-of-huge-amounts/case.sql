INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Huge',#4/15/2005#,#12/31/2005#,0);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment])
    VALUES(1,'Payment',#5/1/2005#,6E+16);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment])
    VALUES(1,'Payment',#6/1/2005#,6E+16);
