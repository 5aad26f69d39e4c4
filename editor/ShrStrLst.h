// A list of texts that copies share instead of duplicating.
//
// Every Label and Goto combo box shows the field's label names, and each box
// keeps the list it was given; with one copy per box a field of many labels
// costs the square of their number. A TShrStrLst is a view of the first
// size() entries of a store that several lists share. The texts in a store
// never change once written, so copying a list copies only the view:
//  - push_back on a list that ends where its store ends appends in place (the
//    other lists on that store keep their own, shorter length);
//  - push_back on any other list first gives it a store of its own.
// Read it like a vector: size(), empty(), [], at(), front(), back(), and
// iteration. An iterator is valid until the next push_back on any list of the
// same store (the store may grow), as for a vector. Main thread only.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "messages/TxtFil.h"

class TShrStrLst {
public:
  using value_type = std::string;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using const_reference = const std::string&;
  using reference = const std::string&;
  using const_iterator = TStrLst::const_iterator;
  using iterator = const_iterator;

  TShrStrLst() = default;
  TShrStrLst(TStrLst lst) { Own(std::move(lst)); }  // NOLINT: a plain list converts
  TShrStrLst(std::initializer_list<std::string> lst) { Own(TStrLst(lst)); }

  size_type size() const { return FiCnt; }
  bool empty() const { return FiCnt == 0; }
  const_iterator begin() const { return FpSto ? FpSto->cbegin() : const_iterator(); }
  const_iterator end() const { return FpSto ? FpSto->cbegin() + static_cast<difference_type>(FiCnt) : const_iterator(); }
  const_iterator cbegin() const { return begin(); }
  const_iterator cend() const { return end(); }
  const std::string& operator[](size_type i) const { return (*FpSto)[i]; }
  const std::string& at(size_type i) const {
    if (i >= FiCnt) throw std::out_of_range("TShrStrLst::at");
    return (*FpSto)[i];
  }
  const std::string& front() const { return (*FpSto)[0]; }
  const std::string& back() const { return (*FpSto)[FiCnt - 1]; }

  void push_back(std::string s) {
    if (!FpSto || FiCnt != FpSto->size()) Own(TStrLst(begin(), end()));
    FpSto->push_back(std::move(s));
    ++FiCnt;
  }
  void clear() {
    FpSto.reset();
    FiCnt = 0;
  }

  // A plain copy, for code that wants a vector.
  TStrLst Lst() const { return TStrLst(begin(), end()); }
  operator TStrLst() const { return Lst(); }  // NOLINT: reads as a vector where one is asked for

  // True when both lists read the same store (tests of the sharing).
  bool ShrSto(const TShrStrLst& o) const { return FpSto && FpSto == o.FpSto; }

  friend bool operator==(const TShrStrLst& a, const TShrStrLst& b) { return Eql(a, b.begin(), b.size()); }
  friend bool operator==(const TShrStrLst& a, const TStrLst& b) { return Eql(a, b.begin(), b.size()); }

private:
  void Own(TStrLst lst) {
    FiCnt = lst.size();
    FpSto = std::make_shared<TStrLst>(std::move(lst));
  }
  static bool Eql(const TShrStrLst& a, const_iterator b, size_type n) {
    if (a.size() != n) return false;
    for (const std::string& s : a)
      if (s != *b++) return false;
    return true;
  }

  std::shared_ptr<TStrLst> FpSto;
  size_type FiCnt = 0;
};
