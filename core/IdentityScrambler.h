#pragma once

#include <string>

// The identity values in the machine-wide settings (user name and password)
// are stored lightly scrambled so they are not readable at a glance. This is
// obfuscation, not protection: anyone who can read the file can undo it.

// The plain value of a stored one: the text reversed, then from the character
// at each position i of the reversed text i mod 7 taken away (modulo 256).
std::string UnscrambleIdentity(const std::string& stored);

// The inverse, for whoever writes the settings (the demo setup and tests).
std::string ScrambleIdentity(const std::string& plain);
