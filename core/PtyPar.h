// A pseudo-terminal pair in the process, both ends raw: the far end of a
// serial line for the link's benchmarks and tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// Put a terminal into raw mode, with the receiver on and no modem control.
void MakRaw(int fd);

// A pseudo-terminal pair, both ends raw. The serial component opens the slave
// by its path; the test plays the far end on the master.
class TPty {
public:
  TPty();
  ~TPty();
  TPty(const TPty&) = delete;
  TPty& operator=(const TPty&) = delete;
  const std::string& Pth() const { return FsPth; }
  int Mst() const { return FiMst; }
  int Slv() const { return FiSlv; }
  // Write all bytes to the master.
  bool Wr(const std::vector<std::uint8_t>& b);
  // Read n bytes from the master; fewer when timeout passes first.
  std::vector<std::uint8_t> Rd(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Bytes written by the component that the far end has not read yet.
  int MstInQ() const;
  // Bytes written by the far end that the component has not read yet.
  int SlvInQ() const;
  // The far end goes away.
  void ClsMst();

private:
  int FiMst = -1;
  int FiSlv = -1;
  std::string FsPth;
};
