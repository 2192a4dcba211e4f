// ObjectCatalog: the listings of which objects a schema has (tables and views
// from all_catalog, stored units and other types from all_objects) and two
// generic one-column queries. Listing failures never show a message box: they
// become remark lines in the report and the run goes on.
#pragma once

#include <string>
#include <vector>

#include "scripting/connection/CatalogItem.h"

class OracleSession;
class OracleStatement;
class ReportOutput;
class RunControl;
class UnscriptedObjects;
struct RunSettings;

// The longest names listed so far, kept by the report view for the width of
// its lists; only ever raised.
struct CatalogNameMaxima {
  int MaxTableNameLength = 0;
  int MaxViewNameLength = 0;
  int MaxObjectNameLength = 0;
};

class ObjectCatalog {
 public:
  // Longest name a listing takes whole: Oracle allows 128 bytes since 12.2.
  static constexpr int MaxNameLength = 128;
  // Rows fetched per round trip by the listings.
  static constexpr int ListingBatchRows = 5;
  // Column width of QueryText when the caller gives a negative one.
  static constexpr int DefaultTextLength = 4000;

  // Lists schema of session; remarks name the database as databaseName.
  ObjectCatalog(OracleSession& session, ReportOutput& output, const RunSettings& settings,
                std::string schema, std::string databaseName, CatalogNameMaxima& maxima);

  // Appends the schema's tables (tables true) or views, in the server's
  // order, filling name slot 1 (firstSlot) or 2; returns how many.
  int ListTablesOrViews(bool firstSlot, CatalogList& out, bool tables);
  // A listing that fails (after one silent reconnect) is also noted in
  // unscripted, as every object of that kind is then missing from the run;
  // unless the user stopped the run (control), whose break failed the call:
  // then the run ends with its stop line instead.
  void RecordFailuresIn(UnscriptedObjects* unscripted, RunControl* control = nullptr) {
    unscripted_ = unscripted;
    control_ = control;
  }
  // Appends the schema's objects of objectType ("PROCEDURE", "PACKAGE BODY",
  // ...) in name order; returns how many, 0 without touching the server when
  // out is null.
  int ListObjects(bool firstSlot, CatalogList* out, const std::string& objectType);

  // Runs a one-column query, appending each row's text + "\r\n" to out.
  // Returns "" on success or when there are no rows, else the error text.
  std::string QueryLines(const std::string& sql, int columnWidth, std::vector<std::string>& out);
  // Prepares sql on statement with column 1 defined into its auxiliary buffer
  // (maxLength + 1 bytes, 4000 when negative, one row per fetch) and executes
  // it without fetching; the caller then reads rows with FetchNext. True on
  // success; on failure error receives the text ("" for no rows). The caller
  // keeps the statement either way.
  bool QueryText(OracleStatement& statement, const std::string& sql, int maxLength,
                 std::string& error);

 private:
  int ListNames(const std::string& sql, bool firstSlot, CatalogList& out, int& maximum,
                const std::string& what);
  std::string ErrorTextOfFailure();
  void WriteListingRemark(bool firstSlot, const std::string& what, const std::string& error);

  OracleSession& session_;
  ReportOutput& output_;
  const RunSettings& settings_;
  std::string schema_;
  std::string databaseName_;
  CatalogNameMaxima& maxima_;
  UnscriptedObjects* unscripted_ = nullptr;
  RunControl* control_ = nullptr;
};
