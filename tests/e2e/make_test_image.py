#!/usr/bin/env python3
"""Writes a firmware file image for the guest tests: a begin message, COUNT data messages
of LENGTH bytes each (F0, Quillon's id, 00 6D 52 00, payload, F7) and an end message.

    make_test_image.py OUT LENGTH COUNT
"""
import sys

out, length, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
head = bytes([0xF0, 0x00, 0x4F, 0x51, 0x00, 0x6D])
image = bytearray(head + bytes([0x51, 0x01, 0xF7]))
for n in range(count):
    payload = bytes((n * 31 + i * 7 + (i >> 8)) & 0x7F for i in range(length - 9))
    image += head + bytes([0x52, 0x00]) + payload + bytes([0xF7])
image += head + bytes([0x52, 0x01, 0xF7])
with open(out, "wb") as f:
    f.write(image)
