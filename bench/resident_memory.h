#ifndef BENCH_RESIDENT_MEMORY_H
#define BENCH_RESIDENT_MEMORY_H

#include <QtCore/QFile>
#include <QtCore/QList>

#include <unistd.h>

// The process's resident set in bytes, from /proc/self/statm; 0 where that cannot be read.
inline double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * sysconf(_SC_PAGESIZE) : 0;
}

#endif // BENCH_RESIDENT_MEMORY_H
