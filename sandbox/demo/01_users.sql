-- Demo database, part 1: the users and roles of the demo schema.
-- Runs as SYSTEM.
create user demo identified by demo
  default tablespace users
  temporary tablespace temp
  quota unlimited on users;
grant connect, resource to demo;
grant create view, create sequence, create synonym to demo;
grant create session to demo with admin option;

create role demo_reader;
create role demo_clerk;
grant create session to demo_reader;
grant demo_reader to demo_clerk;

create user report identified by report;
grant connect to report;
grant demo_clerk to report;
