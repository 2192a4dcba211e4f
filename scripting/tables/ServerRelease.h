// The release of the server a session is logged on to, read from its banner
// ("... Release 19.0.0.0.0 - Production") as major × 10 + minor (190, 122,
// 81, 73): the generator blocks read only the dictionary columns and views
// that release has. 0 when the banner names none, which the blocks treat as
// the newest release.
#pragma once

#include <string>

class OracleSession;

int ServerRelease(OracleSession& session);

// The release after the first "Release " of banner, as above.
int ReleaseOfBanner(const std::string& banner);

// Whether a server of release (as above; 0 the newest) has a dictionary
// feature that came with release since.
inline bool ReleaseHas(int release, int since) {
  return release == 0 || release >= since;
}

// The releases that brought what the blocks read.
namespace dictionary_since {
inline constexpr int ObjectTypes = 80;         // ALL_TYPES, ALL_OBJECT_TABLES, typed views
inline constexpr int TypeInheritance = 90;     // ALL_TYPES.FINAL, SUPERTYPE_OWNER
inline constexpr int ConstraintStates = 80;    // DEFERRABLE, VALIDATED, GENERATED; IOT_TYPE
inline constexpr int TemporaryTables = 81;     // TEMPORARY, DURATION
inline constexpr int MaterializedViews = 81;   // ALL_MVIEWS, ALL_MVIEW_LOGS
inline constexpr int CharacterSemantics = 90;  // ALL_TAB_COLS, CHAR_USED; a key's INDEX_NAME
inline constexpr int Partitioning = 90;  // ALL_PART_TABLES and its kin with LIST; ROW_MOVEMENT
inline constexpr int TableCompression = 92;
// INTERVAL, reference partitioning, COMPRESS_FOR, ALL_LOBS.SECUREFILE, index VISIBILITY
inline constexpr int IntervalPartitioning = 110;
inline constexpr int Listagg = 112;
inline constexpr int VirtualColumns = 110;
inline constexpr int IdentityColumns = 120;   // and DEFAULT ON NULL
inline constexpr int InvisibleColumns = 120;  // ALL_TAB_COLS.USER_GENERATED tells them apart
}  // namespace dictionary_since
