// The headless front end's entry: parses the command line, opens the settings
// store and runs the batch, returning the process's exit status.
#pragma once

#include <string>
#include <vector>

// arguments: the command line without the program name.
int HeadlessMain(const std::vector<std::string>& arguments);
