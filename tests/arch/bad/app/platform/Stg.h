// The window's settings, which a command-line tool may not take.
#pragma once
