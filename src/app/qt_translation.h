#pragma once

namespace zelkor {

// Makes Qt's own texts (Yes/No/OK/Cancel, the file dialogs and their
// questions) Japanese whatever the locale, as the rest of the program is.
// Returns false when the translation is not installed; Qt then stays in
// English.
bool installJapaneseQtTexts();

} // namespace zelkor
