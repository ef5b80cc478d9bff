"""The identifier a control's name gives it (CRC-16, polynomial 0x1021,
initial 0xFFFF, over the name's UTF-16LE bytes), for reading driver output."""


def window_id(name):
    crc = 0xFFFF
    for byte in name.encode("utf-16-le"):
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else (crc << 1)
            crc &= 0xFFFF
    return crc
