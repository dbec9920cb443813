#pragma once

#include "app/context.h"

#include <cstdio>

// Boxes for a benchmark: every question gets the same answer, nothing is shown,
// and a store failure is printed so a broken run does not pass unnoticed.
class BenchPrompts : public Prompts
{
public:
    explicit BenchPrompts(bool answer)
        : m_answer(answer)
    {}
    bool confirm(const QString &) override { return m_answer; }
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &text) override
    {
        std::fprintf(stderr, "store error: %s\n", qPrintable(text));
    }

private:
    bool m_answer;
};
