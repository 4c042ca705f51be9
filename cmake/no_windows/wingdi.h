// Placed first on the portable core's include path: the core reaches Windows only through its ports.
#error "the portable core must not include <wingdi.h>; put this code in a Win32 shell file"
