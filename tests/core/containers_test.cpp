// The growable storage, its growth rule, and the containers and chunks built on it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/IGrowableStorage.h"
#include "core/IPtrList.h"
#include "core/IStateChunk.h"
#include "core/IString.h"

TEST(GrowableStorage, CapacityFollowsTheGrowthRule)
{
  const struct {
    int size;
    long long capacity;
  } cases[] = {
      {0, 4000},         {1, 4000},         {4000, 8096},       {4001, 8096},
      {8000, 8096},      {8097, 12192},     {16384, 24480},     {100000, 147360},
      {10000000, 14192544},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IGrowableStorage::CapacityFor(c.size), c.capacity) << c.size;
  }
  EXPECT_EQ(IGrowableStorage::CapacityFor(2147483600), -1);
}

TEST(GrowableStorage, GrowsKeepsBytesAndShrinksOnlyWhenAllowed)
{
  IGrowableStorage chunk(true);
  IGrowableStorage list(false);
  EXPECT_EQ(chunk.Bytes(), nullptr);
  for (IGrowableStorage* s : {&chunk, &list}) {
    ASSERT_TRUE(s->Resize(100));
    std::memset(s->Bytes(), 0xAB, 100);
    ASSERT_TRUE(s->Resize(100000));
    EXPECT_EQ(s->Capacity(), 147360);
    EXPECT_EQ(s->Bytes()[99], 0xAB);
    ASSERT_TRUE(s->Resize(1000));
    EXPECT_EQ(s->Bytes()[0], 0xAB);
  }
  EXPECT_EQ(chunk.Capacity(), 4000);
  EXPECT_EQ(list.Capacity(), 147360);

  // Shrinking needs a size below half the capacity and more than 16384 bytes below it.
  ASSERT_TRUE(chunk.Resize(30000));
  const int cap = chunk.Capacity();
  ASSERT_TRUE(chunk.Resize(21000));
  EXPECT_EQ(chunk.Capacity(), cap);

  ASSERT_TRUE(chunk.Resize(0));
  EXPECT_EQ(chunk.Bytes(), nullptr);
  EXPECT_FALSE(chunk.Resize(-1));
  EXPECT_FALSE(chunk.Resize(2147483600));
  EXPECT_EQ(chunk.Size(), 0);
}

TEST(StateChunk, PutAndGetLittleEndianValues)
{
  IStateChunk c;
  ASSERT_TRUE(c.PutInt32(0x70666674));
  ASSERT_TRUE(c.PutDouble(1.5));
  ASSERT_EQ(c.Size(), 12);
  const unsigned char expected[12] = {0x74, 0x66, 0x66, 0x70, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
  EXPECT_EQ(std::memcmp(c.Data(), expected, 12), 0);

  int i = 0;
  double d = 0.0;
  EXPECT_EQ(c.GetInt32(&i, 0), 4);
  EXPECT_EQ(i, 0x70666674);
  EXPECT_EQ(c.GetDouble(&d, 4), 12);
  EXPECT_EQ(d, 1.5);

  // Reads that run out leave the output alone.
  i = 7;
  d = 7.0;
  for (int pos : {9, 12, -1, 2147483647}) {
    EXPECT_EQ(c.GetInt32(&i, pos), -1) << pos;
    EXPECT_EQ(c.GetDouble(&d, pos), -1) << pos;
  }
  EXPECT_EQ(c.GetInt32(&i, 8), 12);
  EXPECT_EQ(i, 0x3FF80000);
  EXPECT_EQ(d, 7.0);

  ASSERT_TRUE(c.Resize(4));
  ASSERT_TRUE(c.ResizeZeroed(8));
  EXPECT_EQ(c.GetInt32(&i, 4), 8);
  EXPECT_EQ(i, 0);
  c.Clear();
  EXPECT_EQ(c.Data(), nullptr);
}

TEST(StateChunk, Header)
{
  IStateChunk c;
  ASSERT_TRUE(c.PutDouble(3.0));
  ASSERT_TRUE(WriteChunkHeader(&c));  // clears first
  ASSERT_EQ(c.Size(), 8);
  int pos = 0;
  EXPECT_EQ(ReadChunkHeader(&c, &pos), 0x00010000);
  EXPECT_EQ(pos, 8);

  IStateChunk bare;
  bare.PutDouble(3.0);
  pos = 0;
  EXPECT_EQ(ReadChunkHeader(&bare, &pos), 0);
  EXPECT_EQ(pos, 0);

  IStateChunk magicOnly;
  magicOnly.PutInt32(0x70666674);
  pos = 0;
  EXPECT_EQ(ReadChunkHeader(&magicOnly, &pos), 0);
  EXPECT_EQ(pos, -1);
}

namespace {
struct Tracked {
  explicit Tracked(int id, std::vector<int>* log) : id(id), log(log) {}
  ~Tracked() { log->push_back(id); }
  int id;
  std::vector<int>* log;
};
}  // namespace

TEST(PtrList, OwnsItsElementsAndDeletesThemLastFirst)
{
  std::vector<int> deleted;
  {
    IPtrList<Tracked> list;
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(list.Add(new Tracked(i, &deleted)));
    }
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(1)->id, 1);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(3), nullptr);
    list.Clear();
    EXPECT_EQ(deleted, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(list.Count(), 0);
    list.Add(new Tracked(9, &deleted));
  }
  EXPECT_EQ(deleted.back(), 9);
}

TEST(String, GrowsAndAppends)
{
  IString s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.Length(), 0);
  ASSERT_TRUE(s.Set("user"));
  ASSERT_TRUE(s.Append(" preset"));
  EXPECT_STREQ(s.Get(), "user preset");
  EXPECT_EQ(s.Length(), 11);
  const std::string big(10000, 'x');
  ASSERT_TRUE(s.Append(big.c_str()));
  EXPECT_EQ(s.Length(), 10011);
  ASSERT_TRUE(s.Set(nullptr));
  EXPECT_STREQ(s.Get(), "");
}
