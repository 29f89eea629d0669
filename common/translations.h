// Qt's own texts (message box buttons, the file dialog) in Simplified
// Chinese, like every other text of the programs, whatever the system locale.
#pragma once

// Makes Simplified Chinese the default locale and loads Qt's Simplified
// Chinese translations into the running application. Returns false when they
// are not installed; Qt's texts then stay English.
bool InstallQtChineseTexts();
