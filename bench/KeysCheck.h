#pragma once

#include <QStringList>

// `tablora-bench keys-check N`: the long check of the sort keys put together
// from the characters' weights (CharacterWeights), beside ICU's comparison,
// for the root rules (the C locale), ru_RU, uk_UA, be_BY, kk_KZ, en_US,
// de_DE, tr_TR and cs_CZ, as the program sorts (case ignored): every text of
// three characters of the code page's letters, digits, space and
// punctuation, and N random texts of 1 to 24 characters, put in the order of
// their keys (the random ones a million at a time), each must follow the
// text before it by ICU's comparison, or be equal to it exactly where their
// keys are. Prints one line per locale ("ru_RU weights yes three 8489664
// random 10000000 wrong 0 seconds 9.1") and the first wrong pairs; returns
// 1 where a pair is wrong, 2 with the usage line on a wrong N.
int runKeysCheck(const QStringList &args);
