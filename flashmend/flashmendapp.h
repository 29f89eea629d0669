// The program: opens the dialog, runs it, and closes the card library when
// the dialog is gone.
#pragma once

class CFlashmendApp {
public:
    int InitInstance();
};
