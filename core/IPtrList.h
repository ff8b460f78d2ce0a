// A growable list of owned pointers.
//
// Contract: Add takes ownership only when it returns true. Get returns null for an index out of
// range. Clear deletes the elements from last to first; the list's storage never shrinks.
#pragma once

#include "core/IGrowArray.h"

template <typename T>
class IPtrList {
public:
  IPtrList() : mItems(false) {}
  ~IPtrList() { Clear(); }
  IPtrList(const IPtrList&) = delete;
  IPtrList& operator=(const IPtrList&) = delete;

  int Count() const { return mItems.Count(); }
  T* Get(int i) const { return i >= 0 && i < Count() ? mItems[i] : nullptr; }
  bool Add(T* item) { return mItems.Append(item); }

  void Clear()
  {
    for (int i = Count() - 1; i >= 0; --i) {
      delete mItems[i];
    }
    mItems.Clear();
  }

private:
  IGrowArray<T*> mItems;
};
