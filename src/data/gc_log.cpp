#include "gc_log.h"

Q_LOGGING_CATEGORY(lcKestal, "kestal", QtInfoMsg)
