#pragma once

// The check of a data directory before anything works on it, at the program's start and
// in kormoplan-calc: every table reads whole and its keys read as whole numbers, and the
// list counts of order.dbf fit their lists. Data that fail it would leave the lists and
// the calculation working on nothing, or on part of the records, without a word.

#include <QString>

namespace store
{

struct DataDirectoryProblem {
    QString fileName; // the file at fault, in the data directory; empty when all is well
    QString text;     // the table layer's message, naming the file (and field)

    bool found() const { return !fileName.isEmpty(); }
};

// The first problem: the tables in the order of presentTableFileNames(), then the list
// counts.
// The files are only read.
DataDirectoryProblem dataDirectoryProblem(const QString &dataDirectory);

} // namespace store
