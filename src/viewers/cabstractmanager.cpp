#include "viewers/cabstractmanager.h"
