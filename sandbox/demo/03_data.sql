-- Demo database, part 3: rows of the DEMO tables, with apostrophes, NULLs, dates,
-- a LONG, CLOBs and BLOBs. Generated once; edit freely.
connect demo/demo

alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS';

insert into departments (dept_id, dept_name, location, budget, created) values (10, 'Accounting', 'New York', 250000, to_date('2001-01-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (20, 'Research', 'Dallas', 480000.5, to_date('2001-02-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (30, 'Sales', 'Chicago', NULL, to_date('2001-03-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (40, 'Operations', 'Boston', 99000, to_date('2001-04-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (50, 'Customer''s Care', NULL, 12000, to_date('2001-05-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (60, 'Shipping', 'Rotterdam', 75000, to_date('2001-06-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (70, 'Legal', 'London', NULL, to_date('2001-07-15', 'YYYY-MM-DD'));
insert into departments (dept_id, dept_name, location, budget, created) values (80, 'R&D Lab', 'Zürich', 1000000, to_date('2001-08-15', 'YYYY-MM-DD'));

insert into employees values (1, 'Mary', 'Miller', 'mary.miller1@demo.example', to_date('1996-02-04 05:11', 'YYYY-MM-DD HH24:MI'), 1937.25, NULL, 'B', 20, NULL);
insert into employees values (2, 'D''Arcy', 'Gonzalez', 'd''arcy.gonzalez2@demo.example', to_date('1997-03-07 10:22', 'YYYY-MM-DD HH24:MI'), 2074.5, NULL, 'C', 30, NULL);
insert into employees values (3, 'Robert', 'Martin', 'robert.martin3@demo.example', to_date('1998-04-10 15:33', 'YYYY-MM-DD HH24:MI'), 2211.75, 0.15, NULL, 40, NULL);
insert into employees values (4, 'Patricia', 'Clark', 'patricia.clark4@demo.example', to_date('1999-05-13 20:44', 'YYYY-MM-DD HH24:MI'), 2348.0, NULL, 'D', 50, NULL);
insert into employees values (5, 'John', 'Johnson', 'john.johnson5@demo.example', to_date('2000-06-16 01:55', 'YYYY-MM-DD HH24:MI'), 2485.25, NULL, 'A', 60, NULL);
insert into employees values (6, 'Jennifer', 'Rodriguez', 'jennifer.rodriguez6@demo.example', to_date('2001-07-19 06:06', 'YYYY-MM-DD HH24:MI'), 2622.5, 0.05, 'B', 70, NULL);
insert into employees values (7, 'Michael', 'Anderson', 'michael.anderson7@demo.example', to_date('2002-08-22 11:17', 'YYYY-MM-DD HH24:MI'), 2759.75, NULL, 'C', 80, NULL);
insert into employees values (8, 'Linda', 'Perez', 'linda.perez8@demo.example', to_date('2003-09-25 16:28', 'YYYY-MM-DD HH24:MI'), 2896.0, NULL, NULL, 10, NULL);
insert into employees values (9, 'William', 'Lewis', 'william.lewis9@demo.example', to_date('2004-10-28 21:39', 'YYYY-MM-DD HH24:MI'), 3033.25, 0.2, 'D', 20, 2);
insert into employees values (10, 'Elizabeth', 'Brown', 'elizabeth.brown10@demo.example', to_date('2005-11-03 02:50', 'YYYY-MM-DD HH24:MI'), 3170.5, NULL, 'A', 30, 3);
insert into employees values (11, 'David', 'Hernandez', 'david.hernandez11@demo.example', to_date('2006-12-06 07:01', 'YYYY-MM-DD HH24:MI'), 3307.75, NULL, 'B', 40, 4);
insert into employees values (12, 'Barbara', 'Taylor', 'barbara.taylor12@demo.example', to_date('2007-01-09 12:12', 'YYYY-MM-DD HH24:MI'), 3444.0, 0.1, 'C', 50, 5);
insert into employees values (13, 'Richard', 'White', 'richard.white13@demo.example', to_date('2008-02-12 17:23', 'YYYY-MM-DD HH24:MI'), 3581.25, NULL, NULL, 60, 6);
insert into employees values (14, 'Susan', 'Walker', 'susan.walker14@demo.example', to_date('2009-03-15 22:34', 'YYYY-MM-DD HH24:MI'), 3718.5, NULL, 'D', 70, 7);
insert into employees values (15, 'Joseph', 'Garcia', 'joseph.garcia15@demo.example', to_date('2010-04-18 03:45', 'YYYY-MM-DD HH24:MI'), 3855.75, 0.0, 'A', 80, 8);
insert into employees values (16, 'Jessica', 'Lopez', 'jessica.lopez16@demo.example', to_date('2011-05-21 08:56', 'YYYY-MM-DD HH24:MI'), 3992.0, NULL, 'B', 10, 1);
insert into employees values (17, 'Thomas', 'Jackson', NULL, to_date('2012-06-24 13:07', 'YYYY-MM-DD HH24:MI'), 4129.25, NULL, 'C', 20, 2);
insert into employees values (18, 'Sarah', 'Sanchez', 'sarah.sanchez18@demo.example', to_date('2013-07-27 18:18', 'YYYY-MM-DD HH24:MI'), 4266.5, 0.15, NULL, 30, 3);
insert into employees values (19, 'Charles', 'Smith', 'charles.smith19@demo.example', to_date('2014-08-02 23:29', 'YYYY-MM-DD HH24:MI'), 4403.75, NULL, 'D', 40, 4);
insert into employees values (20, NULL, 'Davis', 'x.davis20@demo.example', to_date('2015-09-05 04:40', 'YYYY-MM-DD HH24:MI'), 4540.0, NULL, 'A', 50, 5);
insert into employees values (21, 'Anne-Marie', 'Wilson', 'anne-marie.wilson21@demo.example', to_date('2016-10-08 09:51', 'YYYY-MM-DD HH24:MI'), 4677.25, 0.05, 'B', 60, 6);
insert into employees values (22, 'Zoë', 'Lee', 'zoë.lee22@demo.example', to_date('2017-11-11 14:02', 'YYYY-MM-DD HH24:MI'), 4814.5, NULL, 'C', 70, 7);
insert into employees values (23, 'James', 'Ramirez', 'james.ramirez23@demo.example', to_date('2018-12-14 19:13', 'YYYY-MM-DD HH24:MI'), NULL, NULL, NULL, 80, 8);
insert into employees values (24, 'Mary', 'Williams', 'mary.williams24@demo.example', to_date('2019-01-17 00:24', 'YYYY-MM-DD HH24:MI'), 5088.0, 0.2, 'D', 10, 1);
insert into employees values (25, 'D''Arcy', 'Martinez', 'd''arcy.martinez25@demo.example', to_date('1995-02-20 05:35', 'YYYY-MM-DD HH24:MI'), 5225.25, NULL, 'A', 20, 2);
insert into employees values (26, 'Robert', 'Thomas', 'robert.thomas26@demo.example', to_date('1996-03-23 10:46', 'YYYY-MM-DD HH24:MI'), 5362.5, NULL, 'B', 30, 3);
insert into employees values (27, 'Patricia', 'Thompson', 'patricia.thompson27@demo.example', to_date('1997-04-26 15:57', 'YYYY-MM-DD HH24:MI'), 5499.75, 0.1, 'C', 40, 4);
insert into employees values (28, 'John', 'Robinson', 'john.robinson28@demo.example', to_date('1998-05-01 20:08', 'YYYY-MM-DD HH24:MI'), 5636.0, NULL, NULL, 50, 5);
insert into employees values (29, 'Jennifer', 'Jones', 'jennifer.jones29@demo.example', to_date('1999-06-04 01:19', 'YYYY-MM-DD HH24:MI'), 5773.25, NULL, 'D', NULL, 6);
insert into employees values (30, 'Michael', 'O''Neil', 'michael.oneil30@demo.example', to_date('2000-07-07 06:30', 'YYYY-MM-DD HH24:MI'), 5910.5, 0.0, 'A', 70, 7);
insert into employees values (31, 'Linda', 'Moore', 'linda.moore31@demo.example', to_date('2001-08-10 11:41', 'YYYY-MM-DD HH24:MI'), 6047.75, NULL, 'B', 80, 8);
insert into employees values (32, 'William', 'Harris', 'william.harris32@demo.example', to_date('2002-09-13 16:52', 'YYYY-MM-DD HH24:MI'), 6184.0, NULL, 'C', 10, 1);
insert into employees values (33, 'Elizabeth', 'O''Brien', 'elizabeth.obrien33@demo.example', to_date('2003-10-16 21:03', 'YYYY-MM-DD HH24:MI'), 6321.25, 0.15, NULL, 20, 2);
insert into employees values (34, 'David', 'Miller', NULL, to_date('2004-11-19 02:14', 'YYYY-MM-DD HH24:MI'), 6458.5, NULL, 'D', 30, 3);
insert into employees values (35, 'Barbara', 'Gonzalez', 'barbara.gonzalez35@demo.example', to_date('2005-12-22 07:25', 'YYYY-MM-DD HH24:MI'), 6595.75, NULL, 'A', 40, 4);
insert into employees values (36, 'Richard', 'Martin', 'richard.martin36@demo.example', to_date('2006-01-25 12:36', 'YYYY-MM-DD HH24:MI'), 6732.0, 0.05, 'B', 50, 5);
insert into employees values (37, 'Susan', 'Clark', 'susan.clark37@demo.example', to_date('2007-02-28 17:47', 'YYYY-MM-DD HH24:MI'), 6869.25, NULL, 'C', 60, 6);
insert into employees values (38, 'Joseph', 'Johnson', 'joseph.johnson38@demo.example', to_date('2008-03-03 22:58', 'YYYY-MM-DD HH24:MI'), 7006.5, NULL, NULL, 70, 7);
insert into employees values (39, 'Jessica', 'Rodriguez', 'jessica.rodriguez39@demo.example', to_date('2009-04-06 03:09', 'YYYY-MM-DD HH24:MI'), 7143.75, 0.2, 'D', 80, 8);
insert into employees values (40, 'Thomas', 'Anderson', 'thomas.anderson40@demo.example', to_date('2010-05-09 08:20', 'YYYY-MM-DD HH24:MI'), 7280.0, NULL, 'A', 10, 1);
insert into employees values (41, 'Sarah', 'Perez', 'sarah.perez41@demo.example', to_date('2011-06-12 13:31', 'YYYY-MM-DD HH24:MI'), 7417.25, NULL, 'B', 20, 2);
insert into employees values (42, 'Charles', 'Lewis', 'charles.lewis42@demo.example', to_date('2012-07-15 18:42', 'YYYY-MM-DD HH24:MI'), 7554.5, 0.1, 'C', 30, 3);
insert into employees values (43, NULL, 'Brown', 'x.brown43@demo.example', to_date('2013-08-18 23:53', 'YYYY-MM-DD HH24:MI'), 7691.75, NULL, NULL, 40, 4);
insert into employees values (44, 'Anne-Marie', 'Hernandez', 'anne-marie.hernandez44@demo.example', to_date('2014-09-21 04:04', 'YYYY-MM-DD HH24:MI'), 7828.0, NULL, 'D', 50, 5);
insert into employees values (45, 'Zoë', 'Taylor', 'zoë.taylor45@demo.example', to_date('2015-10-24 09:15', 'YYYY-MM-DD HH24:MI'), 7965.25, 0.0, 'A', 60, 6);
insert into employees values (46, 'James', 'White', 'james.white46@demo.example', to_date('2016-11-27 14:26', 'YYYY-MM-DD HH24:MI'), NULL, NULL, 'B', 70, 7);
insert into employees values (47, 'Mary', 'Walker', 'mary.walker47@demo.example', to_date('2017-12-02 19:37', 'YYYY-MM-DD HH24:MI'), 8239.75, NULL, 'C', 80, 8);
insert into employees values (48, 'D''Arcy', 'Garcia', 'd''arcy.garcia48@demo.example', to_date('2018-01-05 00:48', 'YYYY-MM-DD HH24:MI'), 8376.0, 0.15, NULL, 10, 1);
insert into employees values (49, 'Robert', 'Lopez', 'robert.lopez49@demo.example', to_date('2019-02-08 05:59', 'YYYY-MM-DD HH24:MI'), 8513.25, NULL, 'D', 20, 2);
insert into employees values (50, 'Patricia', 'Jackson', 'patricia.jackson50@demo.example', to_date('1995-03-11 10:10', 'YYYY-MM-DD HH24:MI'), 8650.5, NULL, 'A', 30, 3);
insert into employees values (51, 'John', 'Sanchez', NULL, to_date('1996-04-14 15:21', 'YYYY-MM-DD HH24:MI'), 8787.75, 0.05, 'B', 40, 4);
insert into employees values (52, 'Jennifer', 'Smith', 'jennifer.smith52@demo.example', to_date('1997-05-17 20:32', 'YYYY-MM-DD HH24:MI'), 8924.0, NULL, 'C', 50, 5);
insert into employees values (53, 'Michael', 'Davis', 'michael.davis53@demo.example', to_date('1998-06-20 01:43', 'YYYY-MM-DD HH24:MI'), 9061.25, NULL, NULL, 60, 6);
insert into employees values (54, 'Linda', 'Wilson', 'linda.wilson54@demo.example', to_date('1999-07-23 06:54', 'YYYY-MM-DD HH24:MI'), 9198.5, 0.2, 'D', 70, 7);
insert into employees values (55, 'William', 'Lee', 'william.lee55@demo.example', to_date('2000-08-26 11:05', 'YYYY-MM-DD HH24:MI'), 9335.75, NULL, 'A', 80, 8);
insert into employees values (56, 'Elizabeth', 'Ramirez', 'elizabeth.ramirez56@demo.example', to_date('2001-09-01 16:16', 'YYYY-MM-DD HH24:MI'), 9472.0, NULL, 'B', 10, 1);
insert into employees values (57, 'David', 'Williams', 'david.williams57@demo.example', to_date('2002-10-04 21:27', 'YYYY-MM-DD HH24:MI'), 9609.25, 0.1, 'C', 20, 2);
insert into employees values (58, 'Barbara', 'Martinez', 'barbara.martinez58@demo.example', to_date('2003-11-07 02:38', 'YYYY-MM-DD HH24:MI'), 9746.5, NULL, NULL, NULL, 3);
insert into employees values (59, 'Richard', 'Thomas', 'richard.thomas59@demo.example', to_date('2004-12-10 07:49', 'YYYY-MM-DD HH24:MI'), 9883.75, NULL, 'D', 40, 4);
insert into employees values (60, 'Susan', 'Thompson', 'susan.thompson60@demo.example', to_date('2005-01-13 12:00', 'YYYY-MM-DD HH24:MI'), 10020.0, 0.0, 'A', 50, 5);
insert into employees values (61, 'Joseph', 'Robinson', 'joseph.robinson61@demo.example', to_date('2006-02-16 17:11', 'YYYY-MM-DD HH24:MI'), 10157.25, NULL, 'B', 60, 6);
insert into employees values (62, 'Jessica', 'Jones', 'jessica.jones62@demo.example', to_date('2007-03-19 22:22', 'YYYY-MM-DD HH24:MI'), 10294.5, NULL, 'C', 70, 7);
insert into employees values (63, 'Thomas', 'O''Neil', 'thomas.oneil63@demo.example', to_date('2008-04-22 03:33', 'YYYY-MM-DD HH24:MI'), 10431.75, 0.15, NULL, 80, 8);
insert into employees values (64, 'Sarah', 'Moore', 'sarah.moore64@demo.example', to_date('2009-05-25 08:44', 'YYYY-MM-DD HH24:MI'), 10568.0, NULL, 'D', 10, 1);
insert into employees values (65, 'Charles', 'Harris', 'charles.harris65@demo.example', to_date('2010-06-28 13:55', 'YYYY-MM-DD HH24:MI'), 10705.25, NULL, 'A', 20, 2);
insert into employees values (66, NULL, 'O''Brien', 'x.obrien66@demo.example', to_date('2011-07-03 18:06', 'YYYY-MM-DD HH24:MI'), 1842.5, 0.05, 'B', 30, 3);
insert into employees values (67, 'Anne-Marie', 'Miller', 'anne-marie.miller67@demo.example', to_date('2012-08-06 23:17', 'YYYY-MM-DD HH24:MI'), 1979.75, NULL, 'C', 40, 4);
insert into employees values (68, 'Zoë', 'Gonzalez', NULL, to_date('2013-09-09 04:28', 'YYYY-MM-DD HH24:MI'), 2116.0, NULL, NULL, 50, 5);
insert into employees values (69, 'James', 'Martin', 'james.martin69@demo.example', to_date('2014-10-12 09:39', 'YYYY-MM-DD HH24:MI'), NULL, 0.2, 'D', 60, 6);
insert into employees values (70, 'Mary', 'Clark', 'mary.clark70@demo.example', to_date('2015-11-15 14:50', 'YYYY-MM-DD HH24:MI'), 2390.5, NULL, 'A', 70, 7);
insert into employees values (71, 'D''Arcy', 'Johnson', 'd''arcy.johnson71@demo.example', to_date('2016-12-18 19:01', 'YYYY-MM-DD HH24:MI'), 2527.75, NULL, 'B', 80, 8);
insert into employees values (72, 'Robert', 'Rodriguez', 'robert.rodriguez72@demo.example', to_date('2017-01-21 00:12', 'YYYY-MM-DD HH24:MI'), 2664.0, 0.1, 'C', 10, 1);
insert into employees values (73, 'Patricia', 'Anderson', 'patricia.anderson73@demo.example', to_date('2018-02-24 05:23', 'YYYY-MM-DD HH24:MI'), 2801.25, NULL, NULL, 20, 2);
insert into employees values (74, 'John', 'Perez', 'john.perez74@demo.example', to_date('2019-03-27 10:34', 'YYYY-MM-DD HH24:MI'), 2938.5, NULL, 'D', 30, 3);
insert into employees values (75, 'Jennifer', 'Lewis', 'jennifer.lewis75@demo.example', to_date('1995-04-02 15:45', 'YYYY-MM-DD HH24:MI'), 3075.75, 0.0, 'A', 40, 4);
insert into employees values (76, 'Michael', 'Brown', 'michael.brown76@demo.example', to_date('1996-05-05 20:56', 'YYYY-MM-DD HH24:MI'), 3212.0, NULL, 'B', 50, 5);
insert into employees values (77, 'Linda', 'Hernandez', 'linda.hernandez77@demo.example', to_date('1997-06-08 01:07', 'YYYY-MM-DD HH24:MI'), 3349.25, NULL, 'C', 60, 6);
insert into employees values (78, 'William', 'Taylor', 'william.taylor78@demo.example', to_date('1998-07-11 06:18', 'YYYY-MM-DD HH24:MI'), 3486.5, 0.15, NULL, 70, 7);
insert into employees values (79, 'Elizabeth', 'White', 'elizabeth.white79@demo.example', to_date('1999-08-14 11:29', 'YYYY-MM-DD HH24:MI'), 3623.75, NULL, 'D', 80, 8);
insert into employees values (80, 'David', 'Walker', 'david.walker80@demo.example', to_date('2000-09-17 16:40', 'YYYY-MM-DD HH24:MI'), 3760.0, NULL, 'A', 10, 1);
insert into employees values (81, 'Barbara', 'Garcia', 'barbara.garcia81@demo.example', to_date('2001-10-20 21:51', 'YYYY-MM-DD HH24:MI'), 3897.25, 0.05, 'B', 20, 2);
insert into employees values (82, 'Richard', 'Lopez', 'richard.lopez82@demo.example', to_date('2002-11-23 02:02', 'YYYY-MM-DD HH24:MI'), 4034.5, NULL, 'C', 30, 3);
insert into employees values (83, 'Susan', 'Jackson', 'susan.jackson83@demo.example', to_date('2003-12-26 07:13', 'YYYY-MM-DD HH24:MI'), 4171.75, NULL, NULL, 40, 4);
insert into employees values (84, 'Joseph', 'Sanchez', 'joseph.sanchez84@demo.example', to_date('2004-01-01 12:24', 'YYYY-MM-DD HH24:MI'), 4308.0, 0.2, 'D', 50, 5);
insert into employees values (85, 'Jessica', 'Smith', NULL, to_date('2005-02-04 17:35', 'YYYY-MM-DD HH24:MI'), 4445.25, NULL, 'A', 60, 6);
insert into employees values (86, 'Thomas', 'Davis', 'thomas.davis86@demo.example', to_date('2006-03-07 22:46', 'YYYY-MM-DD HH24:MI'), 4582.5, NULL, 'B', 70, 7);
insert into employees values (87, 'Sarah', 'Wilson', 'sarah.wilson87@demo.example', to_date('2007-04-10 03:57', 'YYYY-MM-DD HH24:MI'), 4719.75, 0.1, 'C', NULL, 8);
insert into employees values (88, 'Charles', 'Lee', 'charles.lee88@demo.example', to_date('2008-05-13 08:08', 'YYYY-MM-DD HH24:MI'), 4856.0, NULL, NULL, 10, 1);
insert into employees values (89, NULL, 'Ramirez', 'x.ramirez89@demo.example', to_date('2009-06-16 13:19', 'YYYY-MM-DD HH24:MI'), 4993.25, NULL, 'D', 20, 2);
insert into employees values (90, 'Anne-Marie', 'Williams', 'anne-marie.williams90@demo.example', to_date('2010-07-19 18:30', 'YYYY-MM-DD HH24:MI'), 5130.5, 0.0, 'A', 30, 3);
insert into employees values (91, 'Zoë', 'Martinez', 'zoë.martinez91@demo.example', to_date('2011-08-22 23:41', 'YYYY-MM-DD HH24:MI'), 5267.75, NULL, 'B', 40, 4);
insert into employees values (92, 'James', 'Thomas', 'james.thomas92@demo.example', to_date('2012-09-25 04:52', 'YYYY-MM-DD HH24:MI'), NULL, NULL, 'C', 50, 5);
insert into employees values (93, 'Mary', 'Thompson', 'mary.thompson93@demo.example', to_date('2013-10-28 09:03', 'YYYY-MM-DD HH24:MI'), 5541.25, 0.15, NULL, 60, 6);
insert into employees values (94, 'D''Arcy', 'Robinson', 'd''arcy.robinson94@demo.example', to_date('2014-11-03 14:14', 'YYYY-MM-DD HH24:MI'), 5678.5, NULL, 'D', 70, 7);
insert into employees values (95, 'Robert', 'Jones', 'robert.jones95@demo.example', to_date('2015-12-06 19:25', 'YYYY-MM-DD HH24:MI'), 5815.75, NULL, 'A', 80, 8);
insert into employees values (96, 'Patricia', 'O''Neil', 'patricia.oneil96@demo.example', to_date('2016-01-09 00:36', 'YYYY-MM-DD HH24:MI'), 5952.0, 0.05, 'B', 10, 1);
insert into employees values (97, 'John', 'Moore', 'john.moore97@demo.example', to_date('2017-02-12 05:47', 'YYYY-MM-DD HH24:MI'), 6089.25, NULL, 'C', 20, 2);
insert into employees values (98, 'Jennifer', 'Harris', 'jennifer.harris98@demo.example', to_date('2018-03-15 10:58', 'YYYY-MM-DD HH24:MI'), 6226.5, NULL, NULL, 30, 3);
insert into employees values (99, 'Michael', 'O''Brien', 'michael.obrien99@demo.example', to_date('2019-04-18 15:09', 'YYYY-MM-DD HH24:MI'), 6363.75, 0.2, 'D', 40, 4);
insert into employees values (100, 'Linda', 'Miller', 'linda.miller100@demo.example', to_date('1995-05-21 20:20', 'YYYY-MM-DD HH24:MI'), 6500.0, NULL, 'A', 50, 5);
insert into employees values (101, 'William', 'Gonzalez', 'william.gonzalez101@demo.example', to_date('1996-06-24 01:31', 'YYYY-MM-DD HH24:MI'), 6637.25, NULL, 'B', 60, 6);
insert into employees values (102, 'Elizabeth', 'Martin', NULL, to_date('1997-07-27 06:42', 'YYYY-MM-DD HH24:MI'), 6774.5, 0.1, 'C', 70, 7);
insert into employees values (103, 'David', 'Clark', 'david.clark103@demo.example', to_date('1998-08-02 11:53', 'YYYY-MM-DD HH24:MI'), 6911.75, NULL, NULL, 80, 8);
insert into employees values (104, 'Barbara', 'Johnson', 'barbara.johnson104@demo.example', to_date('1999-09-05 16:04', 'YYYY-MM-DD HH24:MI'), 7048.0, NULL, 'D', 10, 1);
insert into employees values (105, 'Richard', 'Rodriguez', 'richard.rodriguez105@demo.example', to_date('2000-10-08 21:15', 'YYYY-MM-DD HH24:MI'), 7185.25, 0.0, 'A', 20, 2);
insert into employees values (106, 'Susan', 'Anderson', 'susan.anderson106@demo.example', to_date('2001-11-11 02:26', 'YYYY-MM-DD HH24:MI'), 7322.5, NULL, 'B', 30, 3);
insert into employees values (107, 'Joseph', 'Perez', 'joseph.perez107@demo.example', to_date('2002-12-14 07:37', 'YYYY-MM-DD HH24:MI'), 7459.75, NULL, 'C', 40, 4);
insert into employees values (108, 'Jessica', 'Lewis', 'jessica.lewis108@demo.example', to_date('2003-01-17 12:48', 'YYYY-MM-DD HH24:MI'), 7596.0, 0.15, NULL, 50, 5);
insert into employees values (109, 'Thomas', 'Brown', 'thomas.brown109@demo.example', to_date('2004-02-20 17:59', 'YYYY-MM-DD HH24:MI'), 7733.25, NULL, 'D', 60, 6);
insert into employees values (110, 'Sarah', 'Hernandez', 'sarah.hernandez110@demo.example', to_date('2005-03-23 22:10', 'YYYY-MM-DD HH24:MI'), 7870.5, NULL, 'A', 70, 7);
insert into employees values (111, 'Charles', 'Taylor', 'charles.taylor111@demo.example', to_date('2006-04-26 03:21', 'YYYY-MM-DD HH24:MI'), 8007.75, 0.05, 'B', 80, 8);
insert into employees values (112, NULL, 'White', 'x.white112@demo.example', to_date('2007-05-01 08:32', 'YYYY-MM-DD HH24:MI'), 8144.0, NULL, 'C', 10, 1);
insert into employees values (113, 'Anne-Marie', 'Walker', 'anne-marie.walker113@demo.example', to_date('2008-06-04 13:43', 'YYYY-MM-DD HH24:MI'), 8281.25, NULL, NULL, 20, 2);
insert into employees values (114, 'Zoë', 'Garcia', 'zoë.garcia114@demo.example', to_date('2009-07-07 18:54', 'YYYY-MM-DD HH24:MI'), 8418.5, 0.2, 'D', 30, 3);
insert into employees values (115, 'James', 'Lopez', 'james.lopez115@demo.example', to_date('2010-08-10 23:05', 'YYYY-MM-DD HH24:MI'), NULL, NULL, 'A', 40, 4);
insert into employees values (116, 'Mary', 'Jackson', 'mary.jackson116@demo.example', to_date('2011-09-13 04:16', 'YYYY-MM-DD HH24:MI'), 8692.0, NULL, 'B', NULL, 5);
insert into employees values (117, 'D''Arcy', 'Sanchez', 'd''arcy.sanchez117@demo.example', to_date('2012-10-16 09:27', 'YYYY-MM-DD HH24:MI'), 8829.25, 0.1, 'C', 60, 6);
insert into employees values (118, 'Robert', 'Smith', 'robert.smith118@demo.example', to_date('2013-11-19 14:38', 'YYYY-MM-DD HH24:MI'), 8966.5, NULL, NULL, 70, 7);
insert into employees values (119, 'Patricia', 'Davis', NULL, to_date('2014-12-22 19:49', 'YYYY-MM-DD HH24:MI'), 9103.75, NULL, 'D', 80, 8);
insert into employees values (120, 'John', 'Wilson', 'john.wilson120@demo.example', to_date('2015-01-25 00:00', 'YYYY-MM-DD HH24:MI'), 9240.0, 0.0, 'A', 10, 1);

insert into products values ('P00001', 'Gadget, large (1)', 8.81, 0.125, 'Y', NULL);
insert into products values ('P00002', 'Bracket, medium (2)', 16.12, 0.25, 'Y', NULL);
insert into products values ('P00003', 'Hinge, XL (3)', 23.43, 0.375, 'Y', NULL);
insert into products values ('P00004', 'Valve, mini (4)', 30.74, 0.5, 'Y', hextoraw('00000000000000007CB8F5316DA9E620'));
insert into products values ('P00005', 'Sprocket, small (5)', 38.05, 0.625, 'Y', NULL);
insert into products values ('P00006', 'Gear, large (6)', 45.36, 0.75, 'Y', NULL);
insert into products values ('P00007', 'Bolt, medium (7)', 52.67, 0.875, 'Y', NULL);
insert into products values ('P00008', 'Driver''s Kit, XL (8)', 59.98, 1.0, 'Y', hextoraw('0000000000000000F971EA62DB53CC40'));
insert into products values ('P00009', 'Lamp, mini (9)', 67.29, 1.125, 'N', NULL);
insert into products values ('P00010', 'Widget, small (10)', 74.6, 1.25, 'Y', NULL);
insert into products values ('P00011', 'Gadget, large (11)', 81.91, 1.375, 'Y', NULL);
insert into products values ('P00012', 'Bracket, medium (12)', 89.22, 1.5, 'Y', hextoraw('0000000000000001762ADF9448FDB260'));
insert into products values ('P00013', 'Hinge, XL (13)', NULL, 1.625, 'Y', NULL);
insert into products values ('P00014', 'Valve, mini (14)', 103.84, 1.75, 'Y', NULL);
insert into products values ('P00015', 'Sprocket, small (15)', 111.15, 1.875, 'Y', NULL);
insert into products values ('P00016', 'Gear, large (16)', 118.46, 2.0, 'Y', hextoraw('0000000000000001F2E3D4C5B6A79880'));
insert into products values ('P00017', 'Bolt, medium (17)', 125.77, 2.125, 'Y', NULL);
insert into products values ('P00018', 'Driver''s Kit, XL (18)', 133.08, 2.25, 'N', NULL);
insert into products values ('P00019', 'Lamp, mini (19)', 140.39, 2.375, 'Y', NULL);
insert into products values ('P00020', 'Widget, small (20)', 147.7, 2.5, 'Y', hextoraw('00000000000000026F9CC9F724517EA0'));
insert into products values ('P00021', 'Gadget, large (21)', 155.01, 2.625, 'Y', NULL);
insert into products values ('P00022', 'Bracket, medium (22)', 162.32, 2.75, 'Y', NULL);
insert into products values ('P00023', 'Hinge, XL (23)', 169.63, 2.875, 'Y', NULL);
insert into products values ('P00024', 'Valve, mini (24)', 176.94, 3.0, 'Y', hextoraw('0000000000000002EC55BF2891FB64C0'));
insert into products values ('P00025', 'Sprocket, small (25)', 184.25, 3.125, 'Y', NULL);
insert into products values ('P00026', 'Gear, large (26)', NULL, 3.25, 'Y', NULL);
insert into products values ('P00027', 'Bolt, medium (27)', 198.87, 3.375, 'N', NULL);
insert into products values ('P00028', 'Driver''s Kit, XL (28)', 206.18, 3.5, 'Y', hextoraw('0000000000000003690EB459FFA54AE0'));
insert into products values ('P00029', 'Lamp, mini (29)', 213.49, 3.625, 'Y', NULL);
insert into products values ('P00030', 'Widget, small (30)', 220.8, 3.75, 'Y', NULL);
insert into products values ('P00031', 'Gadget, large (31)', 228.11, 3.875, 'Y', NULL);
insert into products values ('P00032', 'Bracket, medium (32)', 235.42, 4.0, 'Y', hextoraw('0000000000000003E5C7A98B6D4F3100'));
insert into products values ('P00033', 'Hinge, XL (33)', 242.73, 4.125, 'Y', NULL);
insert into products values ('P00034', 'Valve, mini (34)', 250.04, 4.25, 'Y', NULL);
insert into products values ('P00035', 'Sprocket, small (35)', 257.35, 4.375, 'Y', NULL);
insert into products values ('P00036', 'Gear, large (36)', 264.66, 4.5, 'N', hextoraw('000000000000000462809EBCDAF91720'));
insert into products values ('P00037', 'Bolt, medium (37)', 271.97, 4.625, 'Y', NULL);
insert into products values ('P00038', 'Driver''s Kit, XL (38)', 279.28, 4.75, 'Y', NULL);
insert into products values ('P00039', 'Lamp, mini (39)', NULL, 4.875, 'Y', NULL);
insert into products values ('P00040', 'Widget, small (40)', 293.9, 5.0, 'Y', hextoraw('0000000000000004DF3993EE48A2FD40'));

insert into orders values (1, 'Bob''s Hardware', to_date('02/02/2023 07:13', 'MM/DD/YYYY HH24:MI'), 'PAID', 2, NULL);
insert into orders values (2, 'Café Müller', to_date('03/03/2023 14:26', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 3, NULL);
insert into orders values (3, 'Northwind', to_date('04/04/2023 21:39', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 4, NULL);
insert into orders values (4, 'Contoso Ltd', to_date('05/05/2023 04:52', 'MM/DD/YYYY HH24:MI'), 'NEW', 5, 'Deliver to gate 4; call ahead');
insert into orders values (5, 'O''Reilly & Sons', to_date('06/06/2023 11:05', 'MM/DD/YYYY HH24:MI'), 'PAID', 6, NULL);
insert into orders values (6, 'Globex', to_date('07/07/2023 18:18', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 7, NULL);
insert into orders values (7, 'Initech', to_date('08/08/2023 01:31', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 8, NULL);
insert into orders values (8, 'Acme Corp', to_date('09/09/2023 08:44', 'MM/DD/YYYY HH24:MI'), 'NEW', 9, 'Deliver to gate 8; call ahead');
insert into orders values (9, 'Bob''s Hardware', to_date('10/10/2023 15:57', 'MM/DD/YYYY HH24:MI'), 'PAID', 10, NULL);
insert into orders values (10, 'Café Müller', to_date('11/11/2023 22:10', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 11, NULL);
insert into orders values (11, 'Northwind', to_date('12/12/2023 05:23', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', NULL, NULL);
insert into orders values (12, 'Contoso Ltd', to_date('01/13/2023 12:36', 'MM/DD/YYYY HH24:MI'), 'NEW', 13, 'Deliver to gate 12; call ahead');
insert into orders values (13, 'O''Reilly & Sons', to_date('02/14/2023 19:49', 'MM/DD/YYYY HH24:MI'), 'PAID', 14, NULL);
insert into orders values (14, 'Globex', to_date('03/15/2023 02:02', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 15, NULL);
insert into orders values (15, 'Initech', to_date('04/16/2023 09:15', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 16, NULL);
insert into orders values (16, 'Acme Corp', to_date('05/17/2023 16:28', 'MM/DD/YYYY HH24:MI'), 'NEW', 17, 'Deliver to gate 16; call ahead');
insert into orders values (17, 'Bob''s Hardware', to_date('06/18/2023 23:41', 'MM/DD/YYYY HH24:MI'), 'PAID', 18, NULL);
insert into orders values (18, 'Café Müller', to_date('07/19/2023 06:54', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 19, NULL);
insert into orders values (19, 'Northwind', to_date('08/20/2023 13:07', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 20, NULL);
insert into orders values (20, 'Contoso Ltd', to_date('09/21/2023 20:20', 'MM/DD/YYYY HH24:MI'), 'NEW', 21, 'Deliver to gate 20; call ahead');
insert into orders values (21, 'O''Reilly & Sons', to_date('10/22/2023 03:33', 'MM/DD/YYYY HH24:MI'), 'PAID', 22, NULL);
insert into orders values (22, 'Globex', to_date('11/23/2023 10:46', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', NULL, NULL);
insert into orders values (23, 'Initech', to_date('12/24/2023 17:59', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 24, NULL);
insert into orders values (24, 'Acme Corp', to_date('01/25/2023 00:12', 'MM/DD/YYYY HH24:MI'), 'NEW', 25, 'Deliver to gate 24; call ahead');
insert into orders values (25, 'Bob''s Hardware', to_date('02/26/2023 07:25', 'MM/DD/YYYY HH24:MI'), 'PAID', 26, NULL);
insert into orders values (26, 'Café Müller', to_date('03/27/2023 14:38', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 27, NULL);
insert into orders values (27, 'Northwind', to_date('04/28/2023 21:51', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 28, NULL);
insert into orders values (28, 'Contoso Ltd', to_date('05/01/2023 04:04', 'MM/DD/YYYY HH24:MI'), 'NEW', 29, 'Deliver to gate 28; call ahead');
insert into orders values (29, 'O''Reilly & Sons', to_date('06/02/2023 11:17', 'MM/DD/YYYY HH24:MI'), 'PAID', 30, NULL);
insert into orders values (30, 'Globex', to_date('07/03/2023 18:30', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 31, NULL);
insert into orders values (31, 'Initech', to_date('08/04/2023 01:43', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 32, NULL);
insert into orders values (32, 'Acme Corp', to_date('09/05/2023 08:56', 'MM/DD/YYYY HH24:MI'), 'NEW', 33, 'Deliver to gate 32; call ahead');
insert into orders values (33, 'Bob''s Hardware', to_date('10/06/2023 15:09', 'MM/DD/YYYY HH24:MI'), 'PAID', NULL, NULL);
insert into orders values (34, 'Café Müller', to_date('11/07/2023 22:22', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 35, NULL);
insert into orders values (35, 'Northwind', to_date('12/08/2023 05:35', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 36, NULL);
insert into orders values (36, 'Contoso Ltd', to_date('01/09/2023 12:48', 'MM/DD/YYYY HH24:MI'), 'NEW', 37, 'Deliver to gate 36; call ahead');
insert into orders values (37, 'O''Reilly & Sons', to_date('02/10/2023 19:01', 'MM/DD/YYYY HH24:MI'), 'PAID', 38, NULL);
insert into orders values (38, 'Globex', to_date('03/11/2023 02:14', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 39, NULL);
insert into orders values (39, 'Initech', to_date('04/12/2023 09:27', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 40, NULL);
insert into orders values (40, 'Acme Corp', to_date('05/13/2023 16:40', 'MM/DD/YYYY HH24:MI'), 'NEW', 41, 'Deliver to gate 40; call ahead');
insert into orders values (41, 'Bob''s Hardware', to_date('06/14/2023 23:53', 'MM/DD/YYYY HH24:MI'), 'PAID', 42, NULL);
insert into orders values (42, 'Café Müller', to_date('07/15/2023 06:06', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 43, NULL);
insert into orders values (43, 'Northwind', to_date('08/16/2023 13:19', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 44, NULL);
insert into orders values (44, 'Contoso Ltd', to_date('09/17/2023 20:32', 'MM/DD/YYYY HH24:MI'), 'NEW', NULL, 'Deliver to gate 44; call ahead');
insert into orders values (45, 'O''Reilly & Sons', to_date('10/18/2023 03:45', 'MM/DD/YYYY HH24:MI'), 'PAID', 46, NULL);
insert into orders values (46, 'Globex', to_date('11/19/2023 10:58', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 47, NULL);
insert into orders values (47, 'Initech', to_date('12/20/2023 17:11', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 48, NULL);
insert into orders values (48, 'Acme Corp', to_date('01/21/2023 00:24', 'MM/DD/YYYY HH24:MI'), 'NEW', 49, 'Deliver to gate 48; call ahead');
insert into orders values (49, 'Bob''s Hardware', to_date('02/22/2023 07:37', 'MM/DD/YYYY HH24:MI'), 'PAID', 50, NULL);
insert into orders values (50, 'Café Müller', to_date('03/23/2023 14:50', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 51, NULL);
insert into orders values (51, 'Northwind', to_date('04/24/2023 21:03', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 52, NULL);
insert into orders values (52, 'Contoso Ltd', to_date('05/25/2023 04:16', 'MM/DD/YYYY HH24:MI'), 'NEW', 53, 'Deliver to gate 52; call ahead');
insert into orders values (53, 'O''Reilly & Sons', to_date('06/26/2023 11:29', 'MM/DD/YYYY HH24:MI'), 'PAID', 54, NULL);
insert into orders values (54, 'Globex', to_date('07/27/2023 18:42', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 55, NULL);
insert into orders values (55, 'Initech', to_date('08/28/2023 01:55', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', NULL, NULL);
insert into orders values (56, 'Acme Corp', to_date('09/01/2023 08:08', 'MM/DD/YYYY HH24:MI'), 'NEW', 57, 'Deliver to gate 56; call ahead');
insert into orders values (57, 'Bob''s Hardware', to_date('10/02/2023 15:21', 'MM/DD/YYYY HH24:MI'), 'PAID', 58, NULL);
insert into orders values (58, 'Café Müller', to_date('11/03/2023 22:34', 'MM/DD/YYYY HH24:MI'), 'SHIPPED', 59, NULL);
insert into orders values (59, 'Northwind', to_date('12/04/2023 05:47', 'MM/DD/YYYY HH24:MI'), 'CANCELLED', 60, NULL);
insert into orders values (60, 'Contoso Ltd', to_date('01/05/2023 12:00', 'MM/DD/YYYY HH24:MI'), 'NEW', 61, 'Deliver to gate 60; call ahead');

insert into order_lines (order_id, line_no, product_code, quantity, discount) values (1, 1, 'P00002', 3, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (1, 2, 'P00003', 4, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (2, 1, 'P00003', 4, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (2, 2, 'P00005', 5, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (2, 3, 'P00007', 6, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (3, 1, 'P00004', 5, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (3, 2, 'P00007', 6, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (3, 3, 'P00010', 7, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (3, 4, 'P00013', 8, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (4, 1, 'P00005', 6, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (5, 1, 'P00006', 7, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (5, 2, 'P00011', 8, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (6, 1, 'P00007', 8, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (6, 2, 'P00013', 9, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (6, 3, 'P00019', 1, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (7, 1, 'P00008', 9, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (7, 2, 'P00015', 1, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (7, 3, 'P00022', 2, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (7, 4, 'P00029', 3, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (8, 1, 'P00009', 1, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (9, 1, 'P00010', 2, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (9, 2, 'P00019', 3, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (10, 1, 'P00011', 3, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (10, 2, 'P00021', 4, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (10, 3, 'P00031', 5, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (11, 1, 'P00012', 4, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (11, 2, 'P00023', 5, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (11, 3, 'P00034', 6, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (11, 4, 'P00005', 7, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (12, 1, 'P00013', 5, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (13, 1, 'P00014', 6, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (13, 2, 'P00027', 7, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (14, 1, 'P00015', 7, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (14, 2, 'P00029', 8, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (14, 3, 'P00003', 9, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (15, 1, 'P00016', 8, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (15, 2, 'P00031', 9, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (15, 3, 'P00006', 1, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (15, 4, 'P00021', 2, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (16, 1, 'P00017', 9, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (17, 1, 'P00018', 1, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (17, 2, 'P00035', 2, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (18, 1, 'P00019', 2, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (18, 2, 'P00037', 3, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (18, 3, 'P00015', 4, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (19, 1, 'P00020', 3, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (19, 2, 'P00039', 4, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (19, 3, 'P00018', 5, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (19, 4, 'P00037', 6, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (20, 1, 'P00021', 4, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (21, 1, 'P00022', 5, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (21, 2, 'P00003', 6, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (22, 1, 'P00023', 6, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (22, 2, 'P00005', 7, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (22, 3, 'P00027', 8, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (23, 1, 'P00024', 7, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (23, 2, 'P00007', 8, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (23, 3, 'P00030', 9, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (23, 4, 'P00013', 1, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (24, 1, 'P00025', 8, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (25, 1, 'P00026', 9, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (25, 2, 'P00011', 1, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (26, 1, 'P00027', 1, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (26, 2, 'P00013', 2, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (26, 3, 'P00039', 3, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (27, 1, 'P00028', 2, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (27, 2, 'P00015', 3, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (27, 3, 'P00002', 4, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (27, 4, 'P00029', 5, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (28, 1, 'P00029', 3, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (29, 1, 'P00030', 4, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (29, 2, 'P00019', 5, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (30, 1, 'P00031', 5, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (30, 2, 'P00021', 6, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (30, 3, 'P00011', 7, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (31, 1, 'P00032', 6, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (31, 2, 'P00023', 7, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (31, 3, 'P00014', 8, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (31, 4, 'P00005', 9, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (32, 1, 'P00033', 7, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (33, 1, 'P00034', 8, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (33, 2, 'P00027', 9, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (34, 1, 'P00035', 9, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (34, 2, 'P00029', 1, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (34, 3, 'P00023', 2, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (35, 1, 'P00036', 1, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (35, 2, 'P00031', 2, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (35, 3, 'P00026', 3, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (35, 4, 'P00021', 4, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (36, 1, 'P00037', 2, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (37, 1, 'P00038', 3, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (37, 2, 'P00035', 4, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (38, 1, 'P00039', 4, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (38, 2, 'P00037', 5, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (38, 3, 'P00035', 6, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (39, 1, 'P00040', 5, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (39, 2, 'P00039', 6, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (39, 3, 'P00038', 7, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (39, 4, 'P00037', 8, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (40, 1, 'P00001', 6, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (41, 1, 'P00002', 7, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (41, 2, 'P00003', 8, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (42, 1, 'P00003', 8, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (42, 2, 'P00005', 9, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (42, 3, 'P00007', 1, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (43, 1, 'P00004', 9, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (43, 2, 'P00007', 1, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (43, 3, 'P00010', 2, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (43, 4, 'P00013', 3, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (44, 1, 'P00005', 1, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (45, 1, 'P00006', 2, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (45, 2, 'P00011', 3, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (46, 1, 'P00007', 3, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (46, 2, 'P00013', 4, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (46, 3, 'P00019', 5, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (47, 1, 'P00008', 4, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (47, 2, 'P00015', 5, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (47, 3, 'P00022', 6, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (47, 4, 'P00029', 7, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (48, 1, 'P00009', 5, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (49, 1, 'P00010', 6, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (49, 2, 'P00019', 7, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (50, 1, 'P00011', 7, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (50, 2, 'P00021', 8, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (50, 3, 'P00031', 9, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (51, 1, 'P00012', 8, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (51, 2, 'P00023', 9, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (51, 3, 'P00034', 1, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (51, 4, 'P00005', 2, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (52, 1, 'P00013', 9, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (53, 1, 'P00014', 1, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (53, 2, 'P00027', 2, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (54, 1, 'P00015', 2, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (54, 2, 'P00029', 3, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (54, 3, 'P00003', 4, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (55, 1, 'P00016', 3, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (55, 2, 'P00031', 4, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (55, 3, 'P00006', 5, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (55, 4, 'P00021', 6, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (56, 1, 'P00017', 4, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (57, 1, 'P00018', 5, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (57, 2, 'P00035', 6, 0.05);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (58, 1, 'P00019', 6, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (58, 2, 'P00037', 7, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (58, 3, 'P00015', 8, 0.0);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (59, 1, 'P00020', 7, 0.025);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (59, 2, 'P00039', 8, NULL);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (59, 3, 'P00018', 9, 0.075);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (59, 4, 'P00037', 1, 0.1);
insert into order_lines (order_id, line_no, product_code, quantity, discount) values (60, 1, 'P00021', 8, 0.0);

insert into documents values (1, 'Employee handbook', 'Welcome to the company. It''s our pleasure to have you.', hextoraw('255044462D312E340A'), bfilename('DOC_DIR', 'handbook.pdf'), 'Minutes of the planning meeting.
Item 1: the team''s review of budget line 1 was accepted.
Item 2: the team''s review of budget line 2 was accepted.
Item 3: the team''s review of budget line 3 was accepted.
Item 4: the team''s review of budget line 4 was accepted.
Item 5: the team''s review of budget line 5 was accepted.
Item 6: the team''s review of budget line 6 was accepted.
Item 7: the team''s review of budget line 7 was accepted.
Item 8: the team''s review of budget line 8 was accepted.
Item 9: the team''s review of budget line 9 was accepted.
Item 10: the team''s review of budget line 10 was accepted.
Item 11: the team''s review of budget line 11 was accepted.
Item 12: the team''s review of budget line 12 was accepted.
Item 13: the team''s review of budget line 13 was accepted.
Item 14: the team''s review of budget line 14 was accepted.
Item 15: the team''s review of budget line 15 was accepted.
Item 16: the team''s review of budget line 16 was accepted.
Item 17: the team''s review of budget line 17 was accepted.
Item 18: the team''s review of budget line 18 was accepted.
Item 19: the team''s review of budget line 19 was accepted.
Item 20: the team''s review of budget line 20 was accepted.
Item 21: the team''s review of budget line 21 was accepted.
Item 22: the team''s review of budget line 22 was accepted.
Item 23: the team''s review of budget line 23 was accepted.
Item 24: the team''s review of budget line 24 was accepted.
Item 25: the team''s review of budget line 25 was accepted.
Item 26: the team''s review of budget line 26 was accepted.
Item 27: the team''s review of budget line 27 was accepted.
Item 28: the team''s review of budget line 28 was accepted.
Item 29: the team''s review of budget line 29 was accepted.
Item 30: the team''s review of budget line 30 was accepted.
Item 31: the team''s review of budget line 31 was accepted.
Item 32: the team''s review of budget line 32 was accepted.
Item 33: the team''s review of budget line 33 was accepted.
Item 34: the team''s review of budget line 34 was accepted.
Item 35: the team''s review of budget line 35 was accepted.
Item 36: the team''s review of budget line 36 was accepted.
Item 37: the team''s review of budget line 37 was accepted.
Item 38: the team''s review of budget line 38 was accepted.
Item 39: the team''s review of budget line 39 was accepted.
', hextoraw('00112233445566778899AABBCCDDEEFF'), timestamp '2022-05-01 09:30:00');
insert into documents values (2, 'Travel policy', 'Economy class only.
Taxis need a receipt.', NULL, NULL, 'Approved by the board.', NULL, timestamp '2023-01-15 16:45:10');
insert into documents values (3, 'Empty document', NULL, NULL, NULL, NULL, NULL, NULL);
insert into documents values (4, 'Logo', NULL, hextoraw('89504E470D0A1A0A0000000D49484452'), bfilename('IMG_DIR', 'logo.png'), NULL, hextoraw('0F0E0D0C0B0A09080706050403020100'), timestamp '2021-11-30 23:59:59');
insert into documents values (5, 'O''Brien''s notes', 'Quote: "Don''t panic" -- and a second line.', NULL, NULL, 'Short LONG value', NULL, NULL);

commit;
