#include "PictureDocument.h"
