// The database session (state only; tables and queries name it).
#include "tools/db/Session.h"
