#ifndef FALHA_H
#define FALHA_H

#include <QString>

#include <cstdio>
#include <cstdlib>

// The benchmark stops at the first thing that is not as it must be, so no
// figure is ever printed for an operation that did something else.
[[noreturn]] inline void falha(const QString &motivo)
{
    std::fprintf(stderr, "finara_bench: %s\n", qPrintable(motivo));
    std::exit(1);
}

#endif // FALHA_H
