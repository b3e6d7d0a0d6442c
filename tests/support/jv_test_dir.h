#pragma once

#include "support/temp_folder.h"

namespace zelkor::test {

// A fresh folder for one JRA-VAN test, removed at its end.
struct JvTestDir : TempFolder {
    JvTestDir() : TempFolder("zelkor-jv") {}
};

} // namespace zelkor::test
