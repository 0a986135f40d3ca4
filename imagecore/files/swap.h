#pragma once

// Reverse the byte order of one value in place (big-endian Analyze headers).
void Swap2ByteUSInt(char* p);
void Swap2ByteSInt(char* p);
void Swap4ByteUInt(char* p);
void Swap4ByteInt(char* p);
void Swap4ByteFloat(char* p);
void Swap8ByteDouble(char* p);
