#pragma once
// The program's one-line diagnostics ("Can't write to log", "unhandled key: x", ...) all go to
// standard output through printLine, so that tests can capture them with DiagnosticCapture.

#include <QString>
#include <QStringList>

void printLine(const QString& line);

// While one exists, printed lines are collected here instead of written (tests only).
class DiagnosticCapture {
public:
    DiagnosticCapture();
    ~DiagnosticCapture();
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

    QStringList lines() const;
    void clear();
};
