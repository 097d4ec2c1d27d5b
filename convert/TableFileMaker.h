#pragma once
#include "TableFile.h"

#include <functional>
#include <memory>
#include <string>

class AppSettings;

// Makes the open table file for a run; the pipelines take the factory's by
// default, a test hands in one whose file fails like a full disk.
using TableFileMaker = std::function<std::unique_ptr<CTableFile>(std::string fileName, const AppSettings& settings)>;
