#pragma once

class TableData;

// A deterministic table for timings: the same count always gives the same
// records. Cells mix Cyrillic and Latin words, run from empty (about one cell
// in seven) to a few hundred characters, and average about 10 characters.
TableData sampleTable(int recordCount);

// Tables whose texts hardly repeat, as in real names and addresses (the same
// count always gives the same records):
// - random words: every text cell two words of random letters, Latin or
//   Cyrillic, one word in two capitalised, 8 to 20 characters in all; the
//   number cell a random number below a million;
// - numbered: sampleTable's, each text cell followed by its record's number
//   (after a space where the cell is not empty), so texts share long
//   beginnings and differ only at the end.
TableData randomWordsTable(int recordCount);
TableData numberedTable(int recordCount);
