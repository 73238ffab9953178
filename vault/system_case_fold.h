// The lower-case table of the system's 8-bit code page.
#pragma once
#include "vault/case_fold.h"

namespace vault {

const CaseFold& SystemCaseFold();

}  // namespace vault
