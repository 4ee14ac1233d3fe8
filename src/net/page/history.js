// The last day of each meter as a chart: humidity on its own axis, temperature and dew point on
// another. Chart.js comes from the logger's Debian package; without it the cards still work.
import * as format from "./format.js";

const DAY_MS = 24 * 3600 * 1000;

const HOUR_MS = 3600 * 1000;

const SERIES = [
    {key: "humidity", label: () => "Humidity (%RH)", axis: "humidity", colour: "#2f7ed8"},
    {key: "temperature", label: (unit) => `Temperature (${unit})`, axis: "temperature",
     colour: "#d9480f"},
    {key: "dewPoint", label: (unit) => `Dew point (${unit})`, axis: "temperature",
     colour: "#2b8a3e"},
];

function timeTick(value) {
    const date = new Date(value);
    return format.clock(date).slice(0, 5);
}

function points(history, key) {
    const values = history[key] ?? [];
    return history.t.map((t, i) => ({x: t, y: typeof values[i] === "number" ? values[i] : null}));
}

export class Histories {
    constructor(chartClass) {
        this.Chart = chartClass;
        this.charts = new Map();
        this.loading = new Map();
    }

    get available() {
        return typeof this.Chart === "function";
    }

    // Shows either the chart or the reason there is none.
    attach(card, meter, unit) {
        const canvas = card.querySelector("canvas.chart");
        if (!this.available) {
            card.querySelector(".chart-box").hidden = true;
            card.querySelector(".chart-missing").hidden = false;
            return;
        }
        const known = this.charts.get(meter);
        if (known && known.canvas === canvas) {
            this.setUnit(known, unit);
            return;
        }
        known?.destroy();
        this.charts.set(meter, this.create(canvas, unit));
    }

    create(canvas, unit) {
        const style = getComputedStyle(canvas);
        const ink = style.color;
        const grid = style.getPropertyValue("--grid").trim() || "rgba(128, 128, 128, 0.3)";
        const chart = new this.Chart(canvas, {
            type: "line",
            data: {
                datasets: SERIES.map((s) => ({
                    label: s.label(unit),
                    data: [],
                    yAxisID: s.axis,
                    borderColor: s.colour,
                    backgroundColor: s.colour,
                    borderWidth: 1.5,
                    pointRadius: 0,
                    spanGaps: false,
                })),
            },
            options: {
                animation: false,
                responsive: true,
                maintainAspectRatio: false,
                parsing: false,
                normalized: true,
                color: ink,
                interaction: {mode: "index", intersect: false},
                plugins: {
                    legend: {labels: {color: ink, boxWidth: 12}},
                    tooltip: {callbacks: {title: (items) => timeTick(items[0].parsed.x)}},
                },
                scales: {
                    x: {
                        type: "linear",
                        // Whole hours (in zones a whole number of hours from UTC).
                        ticks: {color: ink, stepSize: 4 * HOUR_MS, callback: timeTick},
                        grid: {color: grid},
                    },
                    humidity: {
                        position: "left",
                        ticks: {color: ink},
                        grid: {color: grid},
                    },
                    temperature: {
                        position: "right",
                        ticks: {color: ink},
                        grid: {drawOnChartArea: false},
                    },
                },
            },
        });
        return chart;
    }

    setUnit(chart, unit) {
        let changed = false;
        SERIES.forEach((s, i) => {
            const dataset = chart.data.datasets[i];
            if (dataset.label !== s.label(unit)) {
                dataset.label = s.label(unit);
                changed = true;
            }
        });
        if (changed)
            chart.update("none");
    }

    // The axis spans the day up to the newest point, whatever the points cover.
    static span(chart) {
        const data = chart.data.datasets[0].data;
        const x = chart.options.scales.x;
        x.max = data.length ? data[data.length - 1].x : undefined;
        x.min = data.length ? x.max - DAY_MS : undefined;
        chart.update("none");
    }

    // The whole day again (at start and after the logger was away); points that arrive while it
    // loads are kept and added after it.
    async load(meter) {
        const chart = this.charts.get(meter);
        if (!chart)
            return;
        const early = [];
        this.loading.set(meter, early);
        try {
            const reply = await fetch(`/api/history?meter=${meter}`);
            if (!reply.ok)
                return;
            const history = await reply.json();
            if (this.charts.get(meter) !== chart || !Array.isArray(history.t))
                return;
            SERIES.forEach((s, i) => {
                chart.data.datasets[i].data = points(history, s.key);
            });
        } catch {
            return;
        } finally {
            this.loading.delete(meter);
        }
        for (const point of early)
            this.append(chart, point);
        Histories.span(chart);
    }

    point(point) {
        const chart = this.charts.get(point.meter);
        if (!chart || typeof point.t !== "number")
            return;
        const early = this.loading.get(point.meter);
        if (early) {
            early.push(point);
            return;
        }
        this.append(chart, point);
        Histories.span(chart);
    }

    append(chart, point) {
        SERIES.forEach((s, i) => {
            const data = chart.data.datasets[i].data;
            if (data.length && data[data.length - 1].x >= point.t)
                return;
            data.push({x: point.t, y: typeof point[s.key] === "number" ? point[s.key] : null});
            const oldest = point.t - DAY_MS;
            while (data.length && data[0].x < oldest)
                data.shift();
        });
    }
}
