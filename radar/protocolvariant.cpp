#include "protocolvariant.h"

const ProtocolVariant *ProtocolVariant::byNumber(int number)
{
    for (const ProtocolVariant *variant : { &TypeQ, &TypeP }) {
        if (variant->number == number)
            return variant;
    }
    return nullptr;
}
