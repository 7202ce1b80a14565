"""Prints the elements of an XML property list as Python's plistlib reads it, one per line.

The pde tests use it as a reader that the project did not write: an array's elements each give
a line "<type> <value>" (int, str, bool, data as lower-case hex); a dictionary gives "key <k>"
before each value; nested containers are indented by two spaces.
"""
import plistlib
import sys


def dump(value, indent=""):
    if isinstance(value, bool):
        print(f"{indent}bool {value}")
    elif isinstance(value, int):
        print(f"{indent}int {value}")
    elif isinstance(value, str):
        print(f"{indent}str {value}")
    elif isinstance(value, bytes):
        print(f"{indent}data {value.hex()}")
    elif isinstance(value, list):
        print(f"{indent}array {len(value)}")
        for element in value:
            dump(element, indent + "  ")
    elif isinstance(value, dict):
        print(f"{indent}dict {len(value)}")
        for key, element in value.items():
            print(f"{indent}  key {key}")
            dump(element, indent + "  ")
    else:
        print(f"{indent}{type(value).__name__} {value!r}")


def main():
    try:
        with open(sys.argv[1], "rb") as f:
            root = plistlib.load(f, fmt=plistlib.FMT_XML)
    except Exception as error:  # every failure is a test finding, reported as text
        print(f"error: {error}")
        return 1
    dump(root)
    return 0


if __name__ == "__main__":
    sys.exit(main())
