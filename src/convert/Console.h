#pragma once

class QIODevice;

// The standard streams of one run of the converter.
struct Console
{
    QIODevice &in;
    QIODevice &out;
    QIODevice &err;
    // Progress is shown only on a terminal.
    bool errIsTerminal = false;
};
