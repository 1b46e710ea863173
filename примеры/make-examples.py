#!/usr/bin/env python3
"""Writes the example boards of this folder: classic Life patterns in Тивла's board file format."""

import pathlib

# Patterns in the run-length notation Life programs exchange: b dead, o alive, $ next row.
GOSPER_GUN = ("24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$"
              "2o8bo3bob2o4bobo$10bo5bo7bo$11bo3bo$12b2o!")
ACORN = "bo$3bo$2o2b3o!"
R_PENTOMINO = "b2o$2o$bo!"
PULSAR = ("2b3o3b3o2$o4bobo4bo$o4bobo4bo$o4bobo4bo$2b3o3b3o2$2b3o3b3o$"
          "o4bobo4bo$o4bobo4bo$o4bobo4bo2$2b3o3b3o!")
BLINKER = "3o!"
TOAD = "b3o$3o!"
BEACON = "2o$2o$2b2o$2b2o!"
PENTADECATHLON = "2bo4bo$2ob4ob2o$2bo4bo!"
GLIDER = "bo$2bo$3o!"
LIGHTWEIGHT_SPACESHIP = "bo2bo$o$o3bo$4o!"


def decode(rle):
    """The live cells of a pattern as (column, row) pairs from its top-left corner."""
    cells, x, y, count = set(), 0, 0, ""
    for ch in rle:
        if ch.isdigit():
            count += ch
            continue
        run = int(count) if count else 1
        count = ""
        if ch == "b":
            x += run
        elif ch == "o":
            cells.update((x + i, y) for i in range(run))
            x += run
        elif ch == "$":
            x, y = 0, y + run
        elif ch == "!":
            break
    return cells


def place(rle, left, top):
    return {(left + x, top + y) for x, y in decode(rle)}


def board_text(size, alive):
    """Line 1 the size, then every cell column by column, index `size` included, CR LF ends."""
    assert all(0 <= x < size and 0 <= y < size for x, y in alive)
    lines = [str(size)]
    for x in range(size + 1):
        for y in range(size + 1):
            lines.append("1" if (x, y) in alive else "0")
    return "".join(line + "\r\n" for line in lines)


def examples():
    yield "Ружьё Госпера 80x80.txt", 80, place(GOSPER_GUN, 2, 2)
    yield "Желудь 100x100.txt", 100, place(ACORN, 60, 60)
    yield "Пульсар 40x40.txt", 40, place(PULSAR, 13, 13)
    yield "Осцилляторы 40x40.txt", 40, (place(BLINKER, 5, 6) | place(TOAD, 17, 5)
                                        | place(BEACON, 29, 4) | place(PENTADECATHLON, 15, 24))
    yield "Планеры 50x50.txt", 50, (place(GLIDER, 3, 3) | place(GLIDER, 14, 3)
                                    | place(GLIDER, 3, 14) | place(LIGHTWEIGHT_SPACESHIP, 6, 36))
    yield "R-пентамино 200x200.txt", 200, place(R_PENTOMINO, 120, 110)


def main():
    folder = pathlib.Path(__file__).resolve().parent
    for name, size, alive in examples():
        (folder / name).write_bytes(board_text(size, alive).encode("ascii"))


if __name__ == "__main__":
    main()
