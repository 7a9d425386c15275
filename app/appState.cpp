// The one definition of the process-wide record.
#include "appState.h"

AppState appState;
