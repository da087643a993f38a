#pragma once

#include "PublishedFigures.h"

// Reads the interest law's amounts and dates (interest-law.csv: "name,value" lines). `source` names the file in
// messages; a file that does not give every figure, each once and valid, is a RunStop naming the line.
InterestLaw parseInterestLaw(const QString& csvText, const QString& source);
