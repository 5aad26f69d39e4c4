// Wiring of the serial component to the two ring buffers, as every user of
// the component does it: the main window, the upload tool, the link bench and
// the link tests.
#pragma once

#include <string>

class TComport2p5;
class TMtxAndRbf;

// Binds the component's six buffer callbacks (put, get and data-available for
// each direction) to tx and rx, every operation under the buffer's own lock.
// Both buffers must outlive the component's threads.
void BndComRbf(TComport2p5& com, TMtxAndRbf& tx, TMtxAndRbf& rx);

// The robot's line on the port prt: 2400 baud, 8 data bits, no parity, one
// stop bit, each received byte handed on by itself.
void SetZefLin(TComport2p5& com, const std::string& prt);
