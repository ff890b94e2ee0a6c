#include "DisplayApp.h"

// The one application object; the framework's entry point runs its InitInstance.
CDisplayApp theApp;
