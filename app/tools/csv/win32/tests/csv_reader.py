#!/usr/bin/python3
"""Reads a CSV file with Python's csv module and prints each record on a
line, its fields as hex of their Windows-1252 bytes split by tabs, so that
quotes, commas and line breaks inside fields survive the trip.

  csv_reader.py FILE
"""
import csv
import sys

with open(sys.argv[1], newline="", encoding="cp1252") as f:
    for record in csv.reader(f):
        print("\t".join(field.encode("cp1252").hex() for field in record))
