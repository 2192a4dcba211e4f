// Writes and reads the rows of the dictionary that DDL maintains: objects,
// their names, system-generated constraint names and object ids.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

class Catalog {
 public:
  explicit Catalog(ServerDatabase& database) : database_(database), runner_(database.Handle()) {}

  // Runs a catalog statement; false with ORA-00600 naming SQLite's message.
  bool Exec(const std::string& sql, const std::vector<Value>& params, OraError& error);
  // Runs a statement on the schemas' storage; SQLite's error becomes Oracle's.
  bool ExecMapped(const std::string& sql, OraError& error);
  std::vector<std::vector<std::string>> Rows(const std::string& sql,
                                             const std::vector<Value>& params);
  bool Any(const std::string& sql, const std::vector<Value>& params) {
    return !Rows(sql, params).empty();
  }

  bool UserExists(const std::string& name);
  bool RoleExists(const std::string& name);
  // Type of the object of that name in the schema's shared namespace
  // (tables, views, sequences, stored units); nullopt when free.
  std::optional<std::string> ObjectType(const std::string& owner, const std::string& name);
  bool AddObject(const std::string& owner, const std::string& name, const std::string& type,
                 OraError& error, const std::string& status = "VALID");
  // The row of a partition or subpartition (type TABLE PARTITION, INDEX
  // SUBPARTITION, ...) of the table or index name; one that holds
  // subpartitions has no segment, and so no data object id, of its own.
  bool AddPartitionObject(const std::string& owner, const std::string& name,
                          const std::string& partition, const std::string& type, bool segment,
                          OraError& error);
  // Keeps the object's id and creation time and moves its LAST_DDL_TIME (CREATE OR REPLACE).
  bool TouchObject(const std::string& owner, const std::string& name, const std::string& type,
                   const std::string& status, OraError& error);
  bool RemoveObject(const std::string& owner, const std::string& name, const std::string& type,
                    OraError& error);
  std::string SystemConstraintName();

  ServerDatabase& Database() { return database_; }

 private:
  ServerDatabase& database_;
  SqliteRunner runner_;
};

}  // namespace sandbox
