#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "rawfile/RawRecordParser.h"

namespace {

std::vector<std::string> tokensOf(const std::string& line) {
    RawRecordParser parser;
    EXPECT_TRUE(parser.tokenize(line));
    return std::vector<std::string>(parser.tokens().begin(), parser.tokens().end());
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(RawRecordParser, TokenizesWithTrimmingAndDropsEmptyFieldsButTheLast) {
    const struct {
        std::string line;
        Tokens expected;
    } cases[] = {
        {"", {""}},
        {"GS", {"GS"}},
        {"  GS \t", {"GS"}},
        {"JB,NMa,DTb", {"JB", "NMa", "DTb"}},
        {"JB, NMjob ,\tDTd\t", {"JB", "NMjob", "DTd"}},
        {"JB,,NMa,  ,DTb", {"JB", "NMa", "DTb"}},
        {"JB,NMa,", {"JB", "NMa", ""}},
        {"JB,NMa, \r\n", {"JB", "NMa", ""}},
        {",", {""}},
        {",,", {""}},
        {" , x", {"x"}},
        {"GS,PNa b,N 1", {"GS", "PNa b", "N 1"}},
        {std::string("A,B\0C,D", 7), {"A", std::string("B\0C", 3), "D"}},
    };
    for (const auto& c : cases) EXPECT_EQ(tokensOf(c.line), c.expected) << '"' << c.line << '"';
}

// Keys of 2 or 4 characters ("N 1.5" is "N "; "N2", "BSE20" and the short "DIF" are unknown keys); the
// field is trimmed but the value after the key is not; a later key wins.
TEST(RawRecordParser, TakesKeysOfTwoOrFourCharactersAndTheLaterValue) {
    RawRecordParser parser;
    PointRecord point;
    parser.parsePoint("GS,PN P1 ,N 1.5,E2,EL 7,--x,N,nmlower,EL8", point);
    EXPECT_EQ(std::tie(point.name, point.north, point.east, point.height, point.description),
              std::make_tuple(" P1", 1.5, 0.0, 8.0, "x"));
    BaseInfoRecord base;
    parser.parseBaseInfo("QZBS,BSNMB 1,BSN 10.5,BSE20,BSATAnt X,BSME2,BS", base);
    EXPECT_EQ(std::tie(base.name, base.north, base.east, base.antennaType, base.antennaMethod),
              std::make_tuple("B 1", 10.5, 0.0, "Ant X", 2));
    DopRecord dop;
    parser.parseDop("QZDP,DOP 2.5,DOP 3.25abc,DIF 9,DIF", dop);
    EXPECT_EQ(std::tie(dop.pdop, dop.solutionType), std::make_tuple(3.25, 9));
}
