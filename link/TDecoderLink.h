#pragma once
// What the register access functions need from the decoder link. TDECODER2 is the real one;
// tests put a recording fake in its place.

#include "Trama_Dec.h"

class TDecoderLink {
public:
    virtual ~TDecoderLink() = default;
    virtual Trama_Dec Transact(uint8_t Command, uint8_t Address, uint8_t DataHigh, uint8_t DataLow,
                               bool WaitReply) = 0;
    // A request that awaits its reply, written at most `intentos` times instead of three: a
    // caller that counts its own attempts (the survey) can stop between them.
    virtual Trama_Dec Transact_Intentos(uint8_t Command, uint8_t Address, uint8_t DataHigh,
                                        uint8_t DataLow, int intentos) = 0;
    // Writes the frame once, straight to the port: no reply, no engine state.
    virtual void Envia_Trama(const Trama_Dec& frame) = 0;
};
