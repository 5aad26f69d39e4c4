#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz_sim target into fuzz/corpus/fuzz_sim/.

Each seed is four setting bytes (see fuzz/FuzSim.cpp) and then what the
tool's side sends on the line: frames of the packet protocol, some carrying
token streams as the translator makes them, and some garbage.
"""
import os

STA, STO, IFF, LBL, GTO, DLY, SPD, SWI, RTI, BYT = 0xA0, 0xA1, 0xA2, 0xA5, 0xA6, 0xA8, 0xAB, 0xAC, 0xAD, 0xAE
STP, FWD, REV, TRL, TRR, SPL, SPR = 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17
SYS_ON, SYS_OFF, SYS_BLK, SYS_FLS = 0x20, 0x21, 0x22, 0x23
BCK_ON, BCK_OFF, BCK_BLK, BCK_ALT = 0x30, 0x31, 0x32, 0x33
TRK_ON, TRK_OFF = 0x40, 0x41
BMP_L, BMP_R, BMP_BTH, BMP_NON, LIN_L, LIN_R, LIN_BTH, LIN_NON, DARK, LIGHT = range(0x50, 0x5A)
SWI1_ON = 0x60

seq = 0


def frame(cls, cod, data=b""):
    global seq
    data = bytes(data)
    f = bytes([0x02, 0x01, seq & 0xFF, len(data), cls, cod]) + data + bytes([0x04])
    seq += 1
    return f


def upload(stream, run=False):
    return frame(0x01, 0x02 if run else 0x00, stream)


RUN = frame(0x01, 0x01)
CHECK = frame(0x00, 0x05)

# Drives a square: forward 40 cm, a right turn, four times by a Goto.
square = bytes([STA, SPD, BYT, 10, BYT, 10, LBL, FWD, BYT, 40, TRR, DLY, 5, GTO, 6, STO])
# Blinks while switch 1 is on, else lights the track LED; runs past a label.
branches = bytes([STA, IFF, SWI1_ON, 9, SYS_BLK, DLY, 3, GTO, 1, TRK_ON, IFF, DARK, 17, BCK_ALT, DLY, 2, STO,
                  LBL, BCK_OFF, DLY, 2, GTO, 1, STO])
# Drives on until the bumpers close at the wall, then reverses and turns.
bumper = bytes([STA, FWD, IFF, BMP_NON, 9, DLY, 1, GTO, 2, REV, BYT, 10, TRL, SPL, DLY, 5, STP, STO])
# The main program drives a loop; a switch enters the routine after 0xAC.
interrupt = bytes([STA, FWD, BYT, 30, TRR, DLY, 10, GTO, 1, STO, SWI, SYS_FLS, TRK_ON, DLY, 4, TRK_OFF, RTI])
# Follows the line with both sensors.
follow = bytes([STA, IFF, LIN_L, 7, SPL, GTO, 11, IFF, LIN_R, 11, SPR, FWD, DLY, 1, GTO, 1, STO])
# No Delay, motion or wait: stopped after the instruction limit.
busy = bytes([STA, LBL, SYS_ON, SYS_OFF, GTO, 1, STO])
# Faults: a jump beyond the end, an unknown token, an RTI outside the routine,
# a cut-off Delay.
bad_jump = bytes([STA, GTO, 200, STO])
bad_token = bytes([STA, DLY, 1, 0xFF, STO])
bad_rti = bytes([STA, RTI, STO])
cut_off = bytes([STA, DLY])
# The largest stream a frame carries.
largest = bytes([STA] + [SYS_ON, SYS_OFF, DLY, 0] * 63 + [STO, STO])[:255]

seeds = {
    "link_check.bin": (0, 0, 0, 0xE0, CHECK),
    "square_upload_run.bin": (2, 0, 0, 0xE0, upload(square, True)),
    "branches_upload_then_run.bin": (0, 0, 0x0F, 0x20, upload(branches) + CHECK + RUN),
    "bumper_wall.bin": (2, 0, 0, 0xE0, upload(bumper, True)),
    "interrupt_presses.bin": (2, 0, 0x55, 0xE0, upload(interrupt, True)),
    "line_follow.bin": (0, 0, 0, 0xA0, upload(follow, True)),
    "busy_loop.bin": (2, 0, 0, 0, upload(busy, True)),
    "faults.bin": (4, 0, 0, 0, upload(bad_jump, True) + upload(bad_token, True) + upload(bad_rti, True) +
                   upload(cut_off)),
    "largest_upload.bin": (0, 0, 0, 0, upload(largest, True)),
    "run_without_program.bin": (0, 0, 0, 0, RUN + frame(0x01, 0x00) + RUN),
    "garbage_and_cut_off.bin": (1, 200, 0, 0, b"\x00\xff\x04\x02\x01\x07" + CHECK[:5] + b"\x02\x05\x00\x00" +
                                bytes([0x02, 0x01, 3, 1, 0x01, 0x00, STA, 0x05]) + frame(0x07, 0x09) + CHECK),
    "link_drop_mid_upload.bin": (1, 0, 0, 0, upload(square, True) + upload(interrupt, True)),
}

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fuzz_sim")
os.makedirs(out, exist_ok=True)
for name, (s0, s1, s2, s3, body) in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(bytes([s0, s1, s2, s3]) + body)
