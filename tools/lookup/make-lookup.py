#!/usr/bin/env python3
"""Writes data/Lookup.dat: the tables the retrieval script reads with `loadfile` to turn
numbers into words (the script language has no arithmetic beyond plus and minus).

Each entry is "#<kind><key>;<value>;" on a line of its own:
  #D<degrees>;  compass point of a wind direction, 0..360
  #P<hPa>;      pressure in inches of mercury, 850..1090 hPa
  #W<code>;     WMO weather code as current conditions (at most 20 characters)
  #F<code>;     WMO weather code as the start of a forecast sentence
  #M<month>;    month name, "01".."12"
  #Z<zone> <offset>;  the usual abbreviation of a time zone at a UTC offset in seconds
                      ("#ZEurope/Zagreb 7200;CEST;"), only where the reports have a spoken
                      name for it
Run it again after changing a table: python3 tools/lookup/make-lookup.py
The zone entries come from the system's time-zone database (Debian's tzdata).
"""
import datetime
import pathlib
import zoneinfo

COMPASS = ["North", "NNE", "NE", "ENE", "East", "ESE", "SE", "SSE",
           "South", "SSW", "SW", "WSW", "West", "WNW", "NW", "NNW"]

# WMO weather interpretation codes as Open-Meteo uses them.
WEATHER = {
    0: ("Clear", "Clear"),
    1: ("Mainly Clear", "Mainly clear"),
    2: ("Partly Cloudy", "Partly cloudy"),
    3: ("Overcast", "Overcast"),
    45: ("Fog", "Fog"),
    48: ("Freezing Fog", "Freezing fog"),
    51: ("Light Drizzle", "Light drizzle"),
    53: ("Drizzle", "Drizzle"),
    55: ("Heavy Drizzle", "Heavy drizzle"),
    56: ("Freezing Drizzle", "Light freezing drizzle"),
    57: ("Freezing Drizzle", "Freezing drizzle"),
    61: ("Light Rain", "Light rain"),
    63: ("Rain", "Rain"),
    65: ("Heavy Rain", "Heavy rain"),
    66: ("Freezing Rain", "Light freezing rain"),
    67: ("Freezing Rain", "Freezing rain"),
    71: ("Light Snow", "Light snow"),
    73: ("Snow", "Snow"),
    75: ("Heavy Snow", "Heavy snow"),
    77: ("Snow Grains", "Snow grains"),
    80: ("Light Showers", "Light rain showers"),
    81: ("Showers", "Rain showers"),
    82: ("Heavy Showers", "Heavy rain showers"),
    85: ("Snow Showers", "Snow showers"),
    86: ("Heavy Snow Showers", "Heavy snow showers"),
    95: ("Thunderstorm", "Thunderstorms"),
    96: ("Thunderstorm, Hail", "Thunderstorms with hail"),
    99: ("Thunderstorm, Hail", "Thunderstorms with heavy hail"),
}

MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
          "September", "October", "November", "December"]


# Abbreviations the reports turn into spoken names ("CET" is "Central Europe Time"). A zone
# whose abbreviation is not here, or is only a number ("+04"), has no usual name: its times are
# read without one.
SPOKEN_EVERYWHERE = {"AEST", "AKDT", "AKST", "BST", "CEST", "CET", "EEST", "EET", "GMT", "HST",
                     "JST", "MSK", "NDT", "NST", "UTC", "WEST", "WET"}
# These mean North American zones only; elsewhere the same letters name others (China's and
# Cuba's "CST", the Philippines' "PST").
SPOKEN_IN_NORTH_AMERICA = {"ADT", "AST", "CDT", "CST", "EDT", "EST", "MDT", "MST", "PDT", "PST"}
NOT_NORTH_AMERICAN = {"America/Havana", "Cuba"}


def spoken(zone, abbreviation):
    if abbreviation in SPOKEN_EVERYWHERE:
        return True
    north_american = (zone.startswith(("America/", "Canada/", "US/")) or
                      zone == "Atlantic/Bermuda") and zone not in NOT_NORTH_AMERICAN
    return abbreviation in SPOKEN_IN_NORTH_AMERICA and north_american


def zone_names():
    """(zone, offset in seconds, abbreviation), for the offsets of the years around now."""
    start = datetime.datetime(datetime.date.today().year - 1, 1, 1, tzinfo=datetime.timezone.utc)
    for zone in sorted(zoneinfo.available_timezones()):
        info = zoneinfo.ZoneInfo(zone)
        names = {}
        for week in range(0, 52 * 3):
            local = (start + datetime.timedelta(weeks=week)).astimezone(info)
            names[int(local.utcoffset().total_seconds())] = local.tzname()
        for offset, abbreviation in sorted(names.items()):
            if spoken(zone, abbreviation):
                yield zone, offset, abbreviation


def entries():
    for degrees in range(361):
        yield f"#D{degrees};{COMPASS[int((degrees + 11.25) / 22.5) % 16]};"
    for hpa in range(850, 1091):
        yield f"#P{hpa};{hpa * 0.02952998:.2f};"
    for code, (now, forecast) in sorted(WEATHER.items()):
        assert len(now) <= 20, now
        yield f"#W{code};{now};"
        yield f"#F{code};{forecast};"
    for number, name in enumerate(MONTHS, start=1):
        yield f"#M{number:02d};{name};"
    for zone, offset, abbreviation in zone_names():
        yield f"#Z{zone} {offset};{abbreviation};"


def main():
    target = pathlib.Path(__file__).resolve().parents[2] / "data" / "Lookup.dat"
    target.write_text("".join(line + "\n" for line in entries()), encoding="ascii")
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
