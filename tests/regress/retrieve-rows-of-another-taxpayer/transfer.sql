-- A file holding taxpayer 9105 and a payment of taxpayer 9002.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance]) VALUES(9105,'Visitor','2005-04-15','2005-12-31',10000.0);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(9002,'Payment','2005-07-01',100.0,100.0);
