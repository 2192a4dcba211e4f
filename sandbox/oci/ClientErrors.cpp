// Codes and texts of the errors declared in ClientErrors.h, as Oracle words them.
#include "sandbox/oci/ClientErrors.h"

namespace sandbox::oci::errors {

OraError NoDataFound() {
  return {1403, "no data found"};
}
OraError NotAllVariablesBound() {
  return {1008, "not all variables bound"};
}
OraError IllegalVariableName() {
  return {1036, "illegal variable name/number"};
}
OraError VariableNotInSelectList() {
  return {1007, "variable not in select list"};
}
OraError FetchedColumnIsNull() {
  return {1405, "fetched column value is NULL"};
}
OraError FetchOutOfSequence() {
  return {1002, "fetch out of sequence"};
}
OraError InvalidCursor() {
  return {1001, "invalid cursor"};
}
OraError NotLoggedOn() {
  return {1012, "not logged on"};
}
OraError InvalidLogon() {
  return {1017, "invalid username/password; logon denied"};
}
OraError InvalidNumber() {
  return {1722, "invalid number"};
}
OraError IntegerOverflow() {
  return {1455, "converting column overflows integer datatype"};
}
OraError InvalidHexNumber() {
  return {1465, "invalid hex number"};
}
OraError InconsistentDatatypes(const std::string& expected, const std::string& got) {
  return {932, "inconsistent datatypes: expected " + expected + " got " + got};
}
OraError UserCancelled() {
  return {kCancelledCode, "user requested cancel of current operation"};
}
OraError EndOfFileOnChannel() {
  return {3113, "end-of-file on communication channel"};
}
OraError NotConnected() {
  return {3114, "not connected to ORACLE"};
}
OraError UnsupportedDatatype() {
  return {3115, "unsupported network datatype or representation"};
}
OraError BufferTooSmall() {
  return {6502, "PL/SQL: numeric or value error: character string buffer too small"};
}
OraError NumericOrValueError() {
  return {6502, "PL/SQL: numeric or value error"};
}
OraError UnresolvedConnectIdentifier() {
  return {12154, "TNS:could not resolve the connect identifier specified"};
}
OraError InvalidNlsEnvironment() {
  return {12705, "Cannot access NLS data files or invalid environment specified"};
}
OraError InvalidLobLocator() {
  return {22275, "invalid LOB locator specified"};
}
OraError BadModeValue() {
  return {24300, "bad value for mode"};
}
OraError BadPieceBuffer() {
  return {24306, "bad buffer for piece"};
}
OraError AlreadyAttached() {
  return {24309, "already connected to a server"};
}
OraError AlreadyAuthenticated() {
  return {24313, "user already authenticated"};
}
OraError IllegalAttributeType() {
  return {24315, "illegal attribute type"};
}
OraError ServiceHandleNotInitialized() {
  return {24324, "service handle not initialized"};
}
OraError NeedAttachBeforeLogon() {
  return {24327, "need explicit attach before authenticating a user"};
}
OraError IllegalAttributeValue() {
  return {24328, "illegal attribute value"};
}
OraError ZeroIterationCount() {
  return {24333, "zero iteration count"};
}
OraError NoDescriptorForPosition() {
  return {24334, "no descriptor for this position"};
}
OraError StatementNotPrepared() {
  return {24337, "statement handle not prepared"};
}
OraError StatementNotExecuted() {
  return {24338, "statement handle not executed"};
}
OraError TruncationOrNullFetch() {
  return {24345, "A Truncation or null fetch error occurred"};
}
OraError DefineNotDone() {
  return {24374, "define not done before fetch or execute and fetch"};
}
OraError ObjectDoesNotExist(const std::string& name) {
  return {4043, "object " + name + " does not exist"};
}

}  // namespace sandbox::oci::errors
