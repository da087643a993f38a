INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date]) VALUES('No due date',#12/31/2005#);
