#include "shell/FormFactory.h"

// One line per child window; each window's header is included next to its line.

void RegisterAllForms()
{
}
