// The Oracle errors that the client side of the sandbox raises itself (handle
// misuse, fetch and bind conversions, lost connections), with Oracle's codes
// and texts, so that every call site reports them the same way.
#pragma once

#include <string>

#include "sandbox/server/Server.h"

namespace sandbox::oci::errors {

OraError NoDataFound();                                                               // ORA-01403
OraError NotAllVariablesBound();                                                      // ORA-01008
OraError IllegalVariableName();                                                       // ORA-01036
OraError VariableNotInSelectList();                                                   // ORA-01007
OraError FetchedColumnIsNull();                                                       // ORA-01405
OraError FetchOutOfSequence();                                                        // ORA-01002
OraError InvalidCursor();                                                             // ORA-01001
OraError NotLoggedOn();                                                               // ORA-01012
OraError InvalidLogon();                                                              // ORA-01017
OraError InvalidNumber();                                                             // ORA-01722
OraError IntegerOverflow();                                                           // ORA-01455
OraError InvalidHexNumber();                                                          // ORA-01465
OraError InconsistentDatatypes(const std::string& expected, const std::string& got);  // ORA-00932
OraError UserCancelled();                                                             // ORA-01013
OraError EndOfFileOnChannel();                                                        // ORA-03113
OraError NotConnected();                                                              // ORA-03114
OraError UnsupportedDatatype();                                                       // ORA-03115
OraError BufferTooSmall();                                                            // ORA-06502
OraError NumericOrValueError();                                                       // ORA-06502
OraError UnresolvedConnectIdentifier();                                               // ORA-12154
OraError InvalidNlsEnvironment();                                                     // ORA-12705
OraError InvalidLobLocator();                                                         // ORA-22275
OraError BadModeValue();                                                              // ORA-24300
OraError BadPieceBuffer();                                                            // ORA-24306
OraError AlreadyAttached();                                                           // ORA-24309
OraError AlreadyAuthenticated();                                                      // ORA-24313
OraError IllegalAttributeType();                                                      // ORA-24315
OraError ServiceHandleNotInitialized();                                               // ORA-24324
OraError NeedAttachBeforeLogon();                                                     // ORA-24327
OraError IllegalAttributeValue();                                                     // ORA-24328
OraError ZeroIterationCount();                                                        // ORA-24333
OraError NoDescriptorForPosition();                                                   // ORA-24334
OraError StatementNotPrepared();                                                      // ORA-24337
OraError StatementNotExecuted();                                                      // ORA-24338
OraError TruncationOrNullFetch();                                                     // ORA-24345
OraError DefineNotDone();                                                             // ORA-24374
OraError ObjectDoesNotExist(const std::string& name);                                 // ORA-04043

}  // namespace sandbox::oci::errors
