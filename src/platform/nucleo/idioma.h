// The toolkit's own texts in Spanish.
#pragma once

// Installs Qt's Spanish translation into the running application (dialog buttons, the text box's
// context menu) and makes Spanish the default locale. Returns false when the translation is missing.
bool InstalarTraduccionQt();
