// A fresh sandbox schema for the table scripting tests.
#include "tests/scripting/tables/SandboxSchema.h"

#include <gtest/gtest.h>

SandboxSchema::SandboxSchema(const std::string& databaseName)
    : database(databaseName.empty() ? FreshDatabase("TABLES") : databaseName) {
  client.ConnectAsSystem(database);
  EXPECT_TRUE(client.session->ExecuteSql("create user APP identified by app"));
  EXPECT_TRUE(client.session->ExecuteSql("grant connect, resource to APP"));
  EXPECT_TRUE(client.session->Connect("APP", "app", database, true, true));
  ddl = std::make_unique<DdlGenerator>(*client.session);
}

void SandboxSchema::Run(const std::string& sql) {
  const std::size_t messagesBefore = client.messages.texts.size();
  EXPECT_TRUE(client.session->ExecuteSql(sql)) << sql;
  if (client.messages.texts.size() > messagesBefore) {
    ADD_FAILURE() << sql << ": " << client.messages.texts.back();
  }
}
