#include "imagecore/files/swap.h"

#include <algorithm>

void Swap2ByteUSInt(char* p)
{
    std::reverse(p, p + 2);
}

void Swap2ByteSInt(char* p)
{
    std::reverse(p, p + 2);
}

void Swap4ByteUInt(char* p)
{
    std::reverse(p, p + 4);
}

void Swap4ByteInt(char* p)
{
    std::reverse(p, p + 4);
}

void Swap4ByteFloat(char* p)
{
    std::reverse(p, p + 4);
}

void Swap8ByteDouble(char* p)
{
    std::reverse(p, p + 8);
}
