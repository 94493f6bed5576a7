#pragma once
// One CSV field as RFC 4180 writes it: quoted when it holds a comma, a
// quote, CR or LF, with its quotes doubled.
#include <string>

std::string CsvField(const std::string& text);
