// Defines the GUIDs that the type library's header declares.
#include <windows.h>
#include <initguid.h>

#include "gleanix_idl.h"
