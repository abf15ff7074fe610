#pragma once
#include <string>

// How closely a screenshot matches a reference picture: the peak
// signal-to-noise ratio in decibels over the red, green and blue channels
// of every pixel (infinity for identical pictures). Both are PNG files; a
// file that cannot be read, or pictures of different sizes, give a negative
// value and a message on standard error.
double PeakSignalToNoise(const std::string& picturePath, const std::string& referencePath);
