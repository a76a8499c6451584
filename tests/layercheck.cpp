// Must not build: document/ sits below app/ and cannot see its headers.
#include "app/lumeno.h"
