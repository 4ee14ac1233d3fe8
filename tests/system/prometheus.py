"""A real Prometheus on 127.0.0.1 scraping the loggers' metrics endpoints every second, and its
query API."""

import json
import urllib.parse

from harness import http_get


def write_prometheus_config(work, targets):
    listed = ", ".join(f'"127.0.0.1:{port}"' for port in targets)
    config = work / "prometheus.yml"
    config.write_text(
        "global:\n"
        "  scrape_interval: 1s\n"
        "  scrape_timeout: 1s\n"
        "scrape_configs:\n"
        "  - job_name: meter-logger\n"
        "    static_configs:\n"
        f"      - targets: [{listed}]\n"
    )
    return config


def start_prometheus(processes, deadline, prometheus, work, targets, port):
    """Prometheus scraping the metrics ports TARGETS, once it says it is ready."""
    process = processes.start(
        "prometheus",
        [prometheus, f"--config.file={write_prometheus_config(work, targets)}",
         f"--storage.tsdb.path={work / 'prometheus'}",
         f"--web.listen-address=127.0.0.1:{port}", "--log.level=warn"],
    )

    def ready():
        processes.alive(process)
        try:
            http_get(f"http://127.0.0.1:{port}/-/ready")
            return True
        except OSError:
            return False

    deadline.wait_for(ready, "Prometheus to be ready", 30)


def query(port, expression):
    """Each series of an instant query: its labels and its value."""
    arguments = urllib.parse.urlencode({"query": expression})
    reply = json.loads(http_get(f"http://127.0.0.1:{port}/api/v1/query?{arguments}"))
    return [
        (series["metric"], float(series["value"][1]))
        for series in reply.get("data", {}).get("result", [])
    ]
