// A client library for the loader tests that exports only the first of the
// OCI entry points: a session must refuse it instead of calling through a
// null pointer.
#include "oracle/OciApi.h"

extern "C" __attribute__((visibility("default"))) sword OCIServerVersion(void*, OCIError*,
                                                                         OraText* bufp, ub4 bufsz,
                                                                         ub1) {
  if (bufsz > 0) {
    bufp[0] = 0;
  }
  return OCI_SUCCESS;
}
