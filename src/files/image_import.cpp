#include "files/image_import.h"
