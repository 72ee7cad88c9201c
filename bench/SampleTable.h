#pragma once

class TableData;

// A deterministic table for timings: the same count always gives the same
// records. Cells mix Cyrillic and Latin words, run from empty (about one cell
// in seven) to a few hundred characters, and average about 10 characters.
TableData sampleTable(int recordCount);
