#!/usr/bin/env python3
"""Writes the examples of this folder: classic Life patterns as Тивла's board files, and as the
RLE, plaintext and Life 1.06 / 1.05 files other Life programs exchange."""

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
MIDDLEWEIGHT_SPACESHIP = "3bo$bo3bo$o$o4bo$5o!"
HEAVYWEIGHT_SPACESHIP = "3b2o$bo4bo$o$o5bo$6o!"
DIEHARD = "6bo$2o$bo3b3o!"
# Ten cells that grow for ever: they settle into a block-laying switch engine.
INFINITE_GROWTH = "6bo$4bob2o$4bobo$4bo$2bo$obo!"
KOKS_GALAXY = "2ob6o$2ob6o$2o$2o5b2o$2o5b2o$2o5b2o$7b2o$6ob2o$6ob2o!"
QUEEN_BEE_SHUTTLE = "9bo$7bobo$6bobo$2o3bo2bo11b2o$2o4bobo11b2o$7bobo$9bo!"


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


def box(alive):
    """The pattern's width and height, its cells moved to start at column and row 0."""
    left = min(x for x, _ in alive)
    top = min(y for _, y in alive)
    cells = {(x - left, y - top) for x, y in alive}
    return max(x for x, _ in cells) + 1, max(y for _, y in cells) + 1, cells


def rle_text(name, comment, alive):
    """RLE as Golly writes it: runs whole, lines of at most 70 characters."""
    width, height, cells = box(alive)
    tokens, pending_rows = [], 0
    for y in range(height):
        row = [x for x in range(width) if (x, y) in cells]
        if not row:
            pending_rows += 1
            continue
        if y > 0:
            tokens.append(f"{pending_rows + 1 if pending_rows else ''}$")
        pending_rows = 0
        x = 0
        while x <= row[-1]:
            state = (x, y) in cells
            run = 1
            while x + run <= row[-1] and ((x + run, y) in cells) == state:
                run += 1
            tokens.append(f"{run if run > 1 else ''}{'o' if state else 'b'}")
            x += run
    tokens.append("!")
    lines, line = [], ""
    for token in tokens:
        if len(line) + len(token) > 70:
            lines.append(line)
            line = ""
        line += token
    lines.append(line)
    header = f"x = {width}, y = {height}, rule = B3/S23"
    return "\n".join([f"#N {name}", f"#C {comment}", header] + lines) + "\n"


def plaintext(name, comment, alive):
    width, height, cells = box(alive)
    rows = ["".join("O" if (x, y) in cells else "." for x in range(width)).rstrip(".")
            for y in range(height)]
    return "\n".join([f"!Name: {name}", f"!{comment}"] + rows) + "\n"


def life_106(comment, alive):
    """One live cell a line, the pattern's middle near 0 0, as other programs centre it."""
    width, height, cells = box(alive)
    lines = ["#Life 1.06", f"#D {comment}"]
    lines += [f"{x - width // 2} {y - height // 2}" for x, y in sorted(cells, key=lambda c: c[::-1])]
    return "\n".join(lines) + "\n"


def life_105(comment, alive):
    width, height, cells = box(alive)
    rows = ["".join("*" if (x, y) in cells else "." for x in range(width)).rstrip(".")
            for y in range(height)]
    lines = ["#Life 1.05", f"#D {comment}", "#N", f"#P {-(width // 2)} {-(height // 2)}"]
    return "\n".join(lines + rows) + "\n"


def patterns():
    """File name, format, what the comment says, the pattern."""
    yield ("Ружьё Госпера.rle", "Ружьё планеров Госпера: период 30, планер каждые 30 поколений.",
           GOSPER_GUN)
    yield "Пульсар.cells", "Пульсар: осциллятор периода 3.", PULSAR
    yield "Пентадекатлон.cells", "Пентадекатлон: осциллятор периода 15.", PENTADECATHLON
    yield "Галактика Кока.life", "Галактика Кока: осциллятор периода 8.", KOKS_GALAXY
    yield ("Челнок пчелиной матки.rle", "Челнок пчелиной матки: осциллятор периода 30.",
           QUEEN_BEE_SHUTTLE)
    yield "Планер.lif", "Планер: смещается на клетку по диагонали за 4 поколения.", GLIDER
    yield ("Лёгкий корабль.lif", "Лёгкий космический корабль: 2 клетки за 4 поколения.",
           LIGHTWEIGHT_SPACESHIP)
    yield ("Средний корабль.rle", "Средний космический корабль: 2 клетки за 4 поколения.",
           MIDDLEWEIGHT_SPACESHIP)
    yield ("Тяжёлый корабль.rle", "Тяжёлый космический корабль: 2 клетки за 4 поколения.",
           HEAVYWEIGHT_SPACESHIP)
    yield "R-пентамино.life", "R-пентамино: успокаивается через 1103 поколения.", R_PENTOMINO
    yield "Желудь.rle", "Желудь: успокаивается через 5206 поколений.", ACORN
    yield "Диехард.cells", "Диехард: исчезает через 130 поколений.", DIEHARD
    yield ("Бесконечный рост.rle",
           "Десять клеток, растущих без конца: из них выходит двигатель-переключатель, "
           "кладущий блоки.", INFINITE_GROWTH)


def pattern_text(name, comment, alive):
    title = name.rsplit(".", 1)[0]
    if name.endswith(".rle"):
        return rle_text(title, comment, alive)
    if name.endswith(".cells"):
        return plaintext(title, comment, alive)
    if name.endswith(".lif"):
        return life_106(comment, alive)
    return life_105(comment, alive)


def main():
    folder = pathlib.Path(__file__).resolve().parent
    for name, size, alive in examples():
        (folder / name).write_bytes(board_text(size, alive).encode("ascii"))
    for name, comment, rle in patterns():
        (folder / name).write_bytes(pattern_text(name, comment, decode(rle)).encode("utf-8"))


if __name__ == "__main__":
    main()
