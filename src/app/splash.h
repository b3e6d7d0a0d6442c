#pragma once

namespace zelkor {

// Shows the start-up picture for three seconds, or until it is clicked, and
// returns when it has gone.
void showSplashFor3Seconds();

} // namespace zelkor
