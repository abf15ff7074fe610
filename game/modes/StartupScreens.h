#pragma once

// The two screens shown before the first game mode. Each runs its own frame
// loop (drawing, input pump, frame limiter) instead of engine frames.

// The maker's logo fading in from black over 3.0 s. A key, the left or right
// mouse button, or a button of any controller ends it early, and so does a
// closed window. Returns the seconds it ran.
double ShowLogoSplash();

// The loading bar filling over 2.9 s with its sound, then held until 3.12 s.
// No input skips it; a closed window ends it. Returns the seconds it ran.
double ShowLoadingBar();

// Whether this frame's input skips the logo: a key from A to the arrows
// (scancodes 4 to 82), mouse button 0 or 1, or controller button 0 to 14.
bool LogoSkipRequested();

// Opacity of the black overlay over the logo t seconds in: the logo's
// visibility grows with the square of the time.
float LogoOverlayOpacity(double seconds);
