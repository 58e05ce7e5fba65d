#ifndef GC_LOG_H
#define GC_LOG_H

#include <QDebug>
#include <QLoggingCategory>

// The program's log lines: quiet by default, shown with
// QT_LOGGING_RULES="kestal.debug=true". Information a user should see once
// (an optional part that is missing) goes out at info level, shown by default.
Q_DECLARE_LOGGING_CATEGORY(lcKestal)

#endif
